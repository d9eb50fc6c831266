// telvix-fault-matrix: runs the fault matrix (or the soak) through the real program against the
// private servers that scripts/test-servers starts, and writes its table as Markdown.
//
//   telvix-fault-matrix [--short] [--filter TEXT] [--out FILE]
//   telvix-fault-matrix --soak N [--seed S] [--out FILE]
//
// Exit status: 0 when every cell (or the soak) is sound, 1 otherwise, 2 for a usage error or when
// the servers are not running.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "retrieval/TransferLibrary.h"
#include "tests/support/HarnessServers.h"
#include "tools/fault-matrix/MatrixReport.h"
#include "tools/fault-matrix/SoakRun.h"

namespace {
struct Arguments {
    bool shortForm = false;
    std::string filter;
    std::string out;
    int soak = 0;
    unsigned seed = std::random_device{}();
};

bool Parse(int argc, char** argv, Arguments& args) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--short") {
            args.shortForm = true;
        } else if (arg == "--filter" && hasValue) {
            args.filter = argv[++i];
        } else if (arg == "--out" && hasValue) {
            args.out = argv[++i];
        } else if (arg == "--soak" && hasValue) {
            args.soak = std::atoi(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            args.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            return false;
        }
    }
    return true;
}

int RunMatrix(const HarnessServers& servers, const Arguments& args, std::ostream& out) {
    std::vector<MatrixRow> rows;
    for (const FaultCell& cell : args.shortForm ? ShortMatrix() : FullMatrix()) {
        if (!args.filter.empty() && CellKey(cell).find(args.filter) == std::string::npos)
            continue;
        std::cerr << CellKey(cell) << " ... " << std::flush;
        rows.push_back({cell, RunCell(servers, cell)});
        std::cerr << (rows.back().result.sound ? "sound" : "UNSOUND: " + rows.back().result.why) << "\n";
    }
    WriteMatrixTable(out, rows, args.shortForm ? "Fault matrix (short form)" : "Fault matrix");
    for (const MatrixRow& row : rows) {
        if (!row.result.sound)
            return 1;
    }
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    TransferLibraryScope transfers;
    Arguments args;
    if (!Parse(argc, argv, args)) {
        std::cerr << "usage: telvix-fault-matrix [--short] [--filter TEXT] [--out FILE]\n"
                     "       telvix-fault-matrix --soak N [--seed S] [--out FILE]\n";
        return 2;
    }
    const auto servers = HarnessServers::FromEnvironment();
    if (!servers) {
        std::cerr << "the private servers are not running: scripts/test-servers start DIR; source DIR/env\n";
        return 2;
    }
    std::ofstream file;
    if (!args.out.empty())
        file.open(args.out);
    std::ostream& out = args.out.empty() ? std::cout : file;
    if (args.soak > 0) {
        std::cerr << "soak: " << args.soak << " installs, seed " << args.seed << "\n";
        const SoakFigures figures = RunSoak(*servers, args.soak, args.seed, std::cerr);
        WriteSoakReport(out, figures);
        return figures.Passed() ? 0 : 1;
    }
    return RunMatrix(*servers, args, out);
}
