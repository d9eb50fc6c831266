// The short form of the fault matrix through the real program: every cell must end soundly, and
// with the outcome and text the committed table (docs/fault-matrix.md) shows for it, so a cell
// that regresses fails here.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/support/HarnessServers.h"
#include "tools/fault-matrix/CellRun.h"
#include "tools/fault-matrix/MatrixReport.h"
#include "tools/fault-matrix/SoakRun.h"

namespace {
struct Recorded {
    std::string finalText;
    std::string outcome;
};

std::vector<std::string> Columns(const std::string& line) {
    std::vector<std::string> columns;
    std::stringstream in(line);
    std::string column;
    while (std::getline(in, column, '|')) {
        const auto first = column.find_first_not_of(' ');
        const auto last = column.find_last_not_of(' ');
        columns.push_back(first == std::string::npos ? "" : column.substr(first, last - first + 1));
    }
    return columns;
}

// fault | point | route -> what the committed table shows.
std::map<std::string, Recorded> CommittedTable() {
    std::map<std::string, Recorded> table;
    std::ifstream in(TELVIX_SOURCE_DIR "/docs/fault-matrix.md");
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> c = Columns(line);
        if (c.size() < 7 || line.rfind("| fault", 0) == 0 || line.rfind("|---", 0) == 0)
            continue;
        table[c[1] + " | " + c[2] + " | " + c[3]] = {c[4], c[5]};
    }
    return table;
}

TEST(FaultMatrix, EveryCellEndsSoundlyAndAsTheCommittedTableShows) {
    const auto servers = HarnessServers::FromEnvironment();
    if (!servers)
        GTEST_SKIP() << "needs the private servers (scripts/test-servers start DIR; source DIR/env)";
    const std::map<std::string, Recorded> committed = CommittedTable();
    for (const FaultCell& cell : ShortMatrix()) {
        const std::string key = CellKey(cell);
        SCOPED_TRACE(key);
        const CellResult result = RunCell(*servers, cell);
        EXPECT_TRUE(result.sound) << result.why << " (" << result.finalText << ", " << result.outcome << ")";
        const auto it = committed.find(key);
        if (it == committed.end())
            continue;  // a cell not in the committed table yet is held to soundness only
        EXPECT_EQ(result.finalText, it->second.finalText);
        EXPECT_EQ(result.outcome, it->second.outcome);
    }
}

// The soak's short form: a few dozen installs with random faults, seeded from the run's time so
// that every run tries other combinations (the seed is in the output to repeat one).
TEST(SoakRun, ShortRunHasNoFalseSuccessHangOrLostRecord) {
    const auto servers = HarnessServers::FromEnvironment();
    if (!servers)
        GTEST_SKIP() << "needs the private servers (scripts/test-servers start DIR; source DIR/env)";
    const auto seed = static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count());
    std::ostringstream log;
    const SoakFigures figures = RunSoak(*servers, 24, seed, log);
    std::ostringstream report;
    WriteSoakReport(report, figures);
    SCOPED_TRACE(report.str() + log.str());
    EXPECT_EQ(figures.installs, 24);
    EXPECT_EQ(figures.falseSuccesses, 0);
    EXPECT_EQ(figures.hangs, 0);
    EXPECT_EQ(figures.unsound, 0);
    EXPECT_EQ(figures.journalMissing, 0);
}
}  // namespace
