// status and search end to end, in text and in JSON.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "tests/cli/CliBed.h"

using nlohmann::json;

TEST(CliStatus, ShowsLinkModelIdentityVehicleSoftwareAndLabelSerial) {
    REQUIRE_CLI_SERVERS(servers);
    const auto entry = servers->FindEntry("QD7720R", 1000, 1);
    ASSERT_TRUE(entry.has_value());
    CliBedOptions options;
    options.carries = {{1000, 1}};
    CliBed bed(*servers, options);

    const CliRun text = bed.Run({"status"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(TextField(text.out, "link"), "application") << text.out;
    EXPECT_EQ(TextField(text.out, "model"), "QD7720R");
    EXPECT_NE(TextField(text.out, "identity").find("MCU Serial: " + bed.mcuSerial), std::string::npos);
    EXPECT_EQ(TextField(text.out, "labelSerial"), "TVH9-CLI-01");

    const CliRun run = bed.Run({"--json", "status"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json status = json::parse(run.out);
    EXPECT_EQ(status["link"], "application");
    EXPECT_EQ(status["model"], "QD7720R");
    EXPECT_EQ(status["softwareId"], 1000);
    EXPECT_EQ(status["softwareBuild"], 1);
    EXPECT_EQ(status["mcuSerial"], bed.mcuSerial);
    EXPECT_EQ(status["labelSerial"], "TVH9-CLI-01");
    EXPECT_EQ(status["vehicle"],
              entry->make + " " + entry->model + " " + entry->yearFrom + "-" + entry->yearTo);
    EXPECT_EQ(status["software"], entry->description);
}

TEST(CliVerbose, NamesTheImageServerWithItsPort) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun run = bed.Run({"--verbose", "status"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string address = "ftp://" + servers->ftp.host + ":" + std::to_string(servers->ftp.port);
    EXPECT_NE(run.err.find("images: " + address + "\n"), std::string::npos) << run.err;
}

TEST(CliSearch, FiltersMatchTheCatalogueAndJsonParses) {
    REQUIRE_CLI_SERVERS(servers);
    const auto entry = servers->FindEntry("QD7720R", 1001, 2);
    ASSERT_TRUE(entry.has_value());
    CliBed bed(*servers, CliBedOptions{});

    // Global options after the subcommand work too.
    const CliRun run = bed.Run({"search", "--make", entry->make, "--model", entry->model, "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json rows = json::parse(run.out);
    ASSERT_TRUE(rows.is_array());
    ASSERT_FALSE(rows.empty());
    bool found = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i]["row"], static_cast<int>(i));
        EXPECT_EQ(rows[i]["make"], entry->make);
        EXPECT_EQ(rows[i]["model"], entry->model);
        found = found || (rows[i]["swId"] == entry->swId && rows[i]["swBuild"] == entry->swBuild);
    }
    EXPECT_TRUE(found) << run.out;

    // A year outside the entry's range leaves it out; the table form prints the result label.
    const CliRun years = bed.Run({"search", "--make", entry->make, "--year", "2000"});
    ASSERT_EQ(years.exitCode, 0) << years.err;
    EXPECT_EQ(years.out.find(entry->model + " "), std::string::npos) << years.out;
    EXPECT_NE(years.out.find("records found"), std::string::npos) << years.out;
}

TEST(CliSearch, UnknownMakeIsAUsageErrorNamingTheKnownOnes) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun run = bed.Run({"search", "--make", "Trabant"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unknown make \"Trabant\"; known:"), std::string::npos) << run.err;
}

TEST(CliSearch, UnreachableCatalogueIsACatalogueFailure) {
    REQUIRE_CLI_SERVERS(servers);
    HarnessServers broken = *servers;
    broken.catalogueConnection = broken.CatalogueConnectionVia(1);  // nothing listens on port 1
    CliBed unreachable(broken, CliBedOptions{});
    const CliRun run = unreachable.Run({"search"});
    EXPECT_EQ(run.exitCode, 4) << run.out << run.err;
}

TEST(CliOptions, HelpVersionAndUsageErrors) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun help = bed.Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes:"), std::string::npos);
    const CliRun version = bed.Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.out.find("4.0.0"), std::string::npos);
    EXPECT_EQ(bed.Run({}).exitCode, 2);
    EXPECT_EQ(bed.Run({"flash-everything"}).exitCode, 2);
    EXPECT_EQ(bed.Run({"--yes", "--no", "status"}).exitCode, 2);
    EXPECT_EQ(bed.Run({"install", "--row", "1", "--sw-id", "1000"}).exitCode, 2);
}

TEST(CliDemo, RunsOnTheEmbeddedCatalogueAndTheEmulator) {
    std::ostringstream out, err;
    const CliEnvironment environment{out, err, false, false, {}, nullptr, nullptr, {}, nullptr};
    const int code = RunCli({"--demo", "--demo-model", "WJ7731R", "--json", "status"}, environment);
    ASSERT_EQ(code, 0) << err.str();
    const json status = json::parse(out.str());
    EXPECT_EQ(status["link"], "application");
    EXPECT_EQ(status["model"], "WJ7731R");
    EXPECT_FALSE(status["labelSerial"].get<std::string>().empty());

    std::ostringstream unknownOut, unknownErr;
    const CliEnvironment unknown{unknownOut, unknownErr, false, false, {}, nullptr, nullptr, {}, nullptr};
    EXPECT_EQ(RunCli({"--demo", "--demo-model", "XX0000X", "status"}, unknown), 2);
}
