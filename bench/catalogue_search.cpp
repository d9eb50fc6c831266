// A vehicle search over a catalogue of 20,000 entries on the local MariaDB test server: the time of
// one RunSearch, its own connection included, against the same statement timed inside the server
// (its query profile, so no client's start-up or connection counts). Goal: within 1.5 times. The
// mariadb command-line client running the statement is timed too, for comparison.
// Needs TELVIX_TEST_MARIADB_BENCH_CONNECTION, _PORT, _USER, _PASSWORD and _BENCH_DATABASE
// (scripts/mariadb-test-server).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/UpdaterContext.h"
#include "app/ports/MessagePort.h"
#include "bench/BenchMain.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/SearchStatements.h"
#include "catalogue/VehicleSearch.h"
#include "platform/Clock.h"
#include "platform/Text.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class BenchPanel final : public SearchPanel {
  public:
    void ClearList(SearchList) override {}
    void AddListEntry(SearchList, const std::u16string&) override {}
    void SelectListEntry(SearchList, int) override {}
    int SelectedListIndex(SearchList list) const override { return list == SearchList::Make ? 1 : 0; }
    std::u16string SelectedListText(SearchList list) const override {
        return list == SearchList::Make ? u"Hyundai" : u"";
    }
    bool ManualTransmissionChecked() const override { return false; }
    void SetResultLabel(const std::u16string& text) override { label = text; }
    void ClearResults() override { rows = 0; }
    void AppendResult(const ResultRow&) override { ++rows; }
    int ResultCount() const override { return rows; }
    std::u16string ResultText(int, ResultColumn) const override { return {}; }
    void EnableInstall(bool) override {}
    int rows = 0;
    std::u16string label;
};

class NoMessages final : public MessagePort {
  public:
    MessageAnswer Show(const std::u16string&, MessageIcon, MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

// The same statement as the search's, with its values written in for the command-line client.
std::string ClientStatement() {
    SearchChoice choice;
    choice.mfgId = u"QD7720R";
    choice.makeChosen = true;
    choice.make = u"Hyundai";
    SqlStatement statement = SearchStatement(choice);
    std::string text = ToUtf8(statement.text);
    for (const std::u16string& value : statement.values) {
        const std::size_t at = text.find('?');
        std::string quoted(1, '\'');
        quoted.append(ToUtf8(value)).push_back('\'');
        text.replace(at, 1, quoted);
    }
    return text;
}

double g_searchSeconds = 0;

void BM_RunSearch(benchmark::State& state) {
    const std::string connection = Env("TELVIX_TEST_MARIADB_BENCH_CONNECTION");
    if (connection.empty()) {
        state.SkipWithError("TELVIX_TEST_MARIADB_BENCH_CONNECTION is not set");
        return;
    }
    UpdaterContext ctx;
    ctx.mfg_id = u"QD7720R";
    BenchPanel panel;
    NoMessages messages;
    SystemClock clock;
    const CatalogueDb db(connection, 15);
    VehicleSearch search(ctx, panel, db, messages, clock, [] { return false; });
    for (auto _ : state) {
        search.RunSearch();
        benchmark::DoNotOptimize(panel.rows);
    }
    if (panel.rows == 0) {
        state.SkipWithError("the search found nothing: is the bench catalogue loaded?");
        return;
    }
    state.counters["rows"] = panel.rows;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) {
        search.RunSearch();
    }
    g_searchSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 20;
}
BENCHMARK(BM_RunSearch)->Unit(benchmark::kMillisecond);

// The statement's own time inside the server, from its query profile, averaged.
void BM_InsideServer(benchmark::State& state) {
    const std::string connection = Env("TELVIX_TEST_MARIADB_BENCH_CONNECTION");
    if (connection.empty()) {
        state.SkipWithError("TELVIX_TEST_MARIADB_BENCH_CONNECTION is not set");
        return;
    }
    SearchChoice choice;
    choice.mfgId = u"QD7720R";
    choice.makeChosen = true;
    choice.make = u"Hyundai";
    const SqlStatement statement = SearchStatement(choice);
    DbError error;
    auto session = CatalogueDb(connection, 15).Open(OpenMode::Writable, error);
    if (!session || !session->Change(SqlStatement{u"SET profiling = 1", {}}, error)) {
        state.SkipWithError("cannot open a profiling session");
        return;
    }
    double total = 0, onOpenSession = 0;
    int runs = 0;
    for (auto _ : state) {
        std::int32_t rows = 0;
        double seconds = 0;
        const auto sent = std::chrono::steady_clock::now();
        session->Query(
            statement, [](const OdbcRow&) {}, rows, error);
        onOpenSession += std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        // The driver hands the profile's DECIMAL durations over as "0.": they are read as whole
        // microseconds. The search is the last statement profiled.
        session->Query(
            SqlStatement{u"SELECT CAST(ROUND(SUM(DURATION) * 1000000) AS CHAR) AS us FROM "
                         u"information_schema.PROFILING WHERE QUERY_ID = "
                         u"(SELECT MAX(QUERY_ID) FROM information_schema.PROFILING)",
                         {}},
            [&](const OdbcRow& row) { seconds = std::stod(ToUtf8(row.Text("us"))) / 1e6; }, rows, error);
        total += seconds;
        ++runs;
    }
    if (runs == 0 || total <= 0) {
        state.SkipWithError("the server gave no profile");
        return;
    }
    const double inside = total / runs;
    state.counters["inside_server_ms"] = inside * 1000;
    // The statement through the driver on a session already open: what the search's own
    // connection and session set-up add is the difference to the whole search.
    state.counters["open_session_query_ms"] = onOpenSession / runs * 1000;
    if (g_searchSeconds > 0) {
        state.counters["search_to_server"] = g_searchSeconds / inside;
        state.counters["goal_max"] = 1.5;
        std::printf(
            "search over the bench catalogue: %.2f ms (its own connection included), the statement on an "
            "open "
            "session %.2f ms, inside the server %.2f ms; ratio %.2f (goal: at most 1.50)\n",
            g_searchSeconds * 1000, onOpenSession / runs * 1000, inside * 1000, g_searchSeconds / inside);
    }
}
BENCHMARK(BM_InsideServer)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_MariaDbClient(benchmark::State& state) {
    const std::string port = Env("TELVIX_TEST_MARIADB_PORT");
    if (port.empty()) {
        state.SkipWithError("TELVIX_TEST_MARIADB_PORT is not set");
        return;
    }
    const std::string command =
        "mariadb --no-defaults --protocol=TCP -h 127.0.0.1 -P " + port + " -u " +
        Env("TELVIX_TEST_MARIADB_USER") + " -p" + Env("TELVIX_TEST_MARIADB_PASSWORD") + " " +
        Env("TELVIX_TEST_MARIADB_BENCH_DATABASE") + " -N -e \"" + ClientStatement() + "\" > /dev/null";
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("the mariadb client failed");
            return;
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    if (runs > 0 && g_searchSeconds > 0) {
        state.counters["search_to_client"] = g_searchSeconds / (total / runs);
    }
}
BENCHMARK(BM_MariaDbClient)->Unit(benchmark::kMillisecond);

}  // namespace

TELVIX_BENCHMARK_MAIN();
