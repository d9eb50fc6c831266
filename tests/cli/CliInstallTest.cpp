// install end to end on both routes, with the exit codes and the interface's new content.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>

#include "tests/cli/CliBed.h"
#include "tests/support/LinkRig.h"

namespace {
HarnessEntry RequireEntry(const HarnessServers& servers, const std::string& model, int swId, int build) {
    auto entry = servers.FindEntry(model, swId, build);
    EXPECT_TRUE(entry.has_value()) << model << " " << swId << "/" << build;
    return entry.value_or(HarnessEntry{});
}

void ExpectCarries(CliBed& bed, const HarnessEntry& entry) {
    const SoftwareIdentity identity = bed.telvix.application->Software();
    EXPECT_EQ(identity.softwareId, entry.swId);
    EXPECT_EQ(identity.softwareBuild, entry.swBuild);
    const StoredRecord stored = bed.telvix.application->StoredConfig();
    EXPECT_EQ(stored.vehicleMake(), entry.make);
    EXPECT_EQ(stored.vehicleModel(), entry.model);
    auto row = bed.servers.ReadDevice(bed.mcuSerial);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->swId, entry.swId);
}
}  // namespace

TEST(CliInstall, HidRouteByCatalogueKeysWithPlainProgressLines) {
    REQUIRE_CLI_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    CliBedOptions options;
    options.carries = {{1000, 1}};
    CliBed bed(*servers, options);

    const CliRun run = bed.Run({"install", "--sw-id", "1061", "--sw-build", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    // Not a terminal: one line per step, no bar drawing.
    EXPECT_NE(run.out.find("[13%] Rebooting device\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("[100%] Software has been successfully installed\n"), std::string::npos);
    EXPECT_NE(run.out.find("Successfully finished\n"), std::string::npos);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    EXPECT_EQ(bed.telvix.flash->Contents(), PaddedToSectors(HarnessServers::ImageOf(target)));
    ExpectCarries(bed, target);

    // The next run sees the new software.
    const CliRun status = bed.Run({"status"});
    EXPECT_EQ(TextField(status.out, "softwareId"), "1061") << status.out;
}

TEST(CliInstall, UpdateVolumeRouteBySearchRowOnATerminalDrawsABar) {
    REQUIRE_CLI_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "WJ7731R", 1761, 1);
    servers->PublishImage(target);
    CliBedOptions options;
    options.modelCode = "WJ7731R";
    options.carries = {{1700, 1}};
    options.terminal = true;
    CliBed bed(*servers, options);

    const CliRun search = bed.Run({"--json", "search", "--make", target.make, "--model", target.model});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    const std::string key = "\"swId\": " + std::to_string(target.swId);
    ASSERT_NE(search.out.find(key), std::string::npos) << search.out;
    // The row of the entry: count the rows listed before it.
    const std::string before = search.out.substr(0, search.out.find(key));
    const auto row = std::count(before.begin(), before.end(), '{') - 1;

    const CliRun run =
        bed.Run({"install", "--make", target.make, "--model", target.model, "--row", std::to_string(row)});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\r\033[K["), std::string::npos);
    EXPECT_NE(run.out.find("Verifying software availability"), std::string::npos);
    const std::vector<std::uint8_t> image = HarnessServers::ImageOf(target);
    const std::vector<std::uint8_t> flash = bed.telvix.flash->Contents();
    ASSERT_GE(flash.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), flash.begin()));
    ExpectCarries(bed, target);
}

TEST(CliInstall, CorruptImageAbortsWithTheInstallExitCode) {
    REQUIRE_CLI_SERVERS(servers);
    // An entry no other test installs: the corrupt image stays on the server while this runs.
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1002, 3);
    const RestoreImageAtExit restore(*servers, target);
    servers->PublishImage(target, /*corrupt=*/true);
    CliBedOptions options;
    options.carries = {{1000, 1}};
    CliBed bed(*servers, options);

    const CliRun run = bed.Run({"install", "--sw-id", "1002"});
    EXPECT_EQ(run.exitCode, 5) << run.out << run.err;
    EXPECT_NE(run.out.find("Aborted"), std::string::npos);
    EXPECT_NE(run.err.find("ERROR: Download failed"), std::string::npos) << run.err;
    EXPECT_EQ(bed.telvix.application->Software().softwareId, 1000);
}

TEST(CliInstall, EntryTheCatalogueDoesNotHaveIsAUsageError) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun run = bed.Run({"install", "--sw-id", "9999"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("no catalogue entry with software 9999"), std::string::npos) << run.err;
    EXPECT_EQ(bed.telvix.flash->ProgramCount(), 0);
}

TEST(CliInstall, HistoryListsTheJournalNewestFirstAndSaysWhyItCannot) {
    REQUIRE_CLI_SERVERS(servers);
    const HarnessEntry target = RequireEntry(*servers, "QD7720R", 1061, 1);
    servers->PublishImage(target);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun none = bed.Run({"history"});
    EXPECT_EQ(none.exitCode, 0) << none.err;
    EXPECT_NE(none.out.find("No installs in the journal"), std::string::npos) << none.out;

    ASSERT_EQ(bed.Run({"install", "--sw-id", "1061", "--sw-build", "1"}).exitCode, 0);
    ASSERT_EQ(bed.Run({"install", "--sw-id", "1061", "--sw-build", "1"}).exitCode, 0);
    const CliRun json = bed.Run({"history", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto list = nlohmann::json::parse(json.out);
    ASSERT_EQ(list.size(), 2u) << json.out;
    EXPECT_GT(list[0]["id"].get<int>(), list[1]["id"].get<int>());
    EXPECT_EQ(list[0]["model"], "QD7720R");
    EXPECT_EQ(list[0]["serial"], bed.mcuSerial);
    EXPECT_EQ(list[0]["swId"], 1061);
    EXPECT_EQ(list[0]["vehicleMake"], target.make);
    EXPECT_EQ(list[0]["outcome"], "Software has been successfully installed");
    EXPECT_EQ(list[0]["record"], "recorded");
    EXPECT_EQ(list[0]["recordValues"]["totalUpdates"], 6) << "the second install of an interface that had 4";

    const CliRun text = bed.Run({"history"});
    EXPECT_NE(text.out.find("TIME"), std::string::npos);
    EXPECT_NE(text.out.find(bed.mcuSerial + "  1061/1"), std::string::npos) << text.out;

    std::ofstream(bed.dataDirectory.Path() / "journal.sqlite", std::ios::trunc) << "not a journal";
    const CliRun broken = bed.Run({"history"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_NE(broken.err.find("cannot be listed"), std::string::npos) << broken.err;
}
