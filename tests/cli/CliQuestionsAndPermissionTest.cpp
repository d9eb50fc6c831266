// Questions without a terminal, answered by option or on the terminal; the permission hint.
#include <gtest/gtest.h>

#include <sstream>

#include "app/ControllerTexts.h"
#include "app/UpdaterContext.h"
#include "tests/cli/CliBed.h"
#include "tools/cli/CliCommands.h"

namespace {
// An interface carrying withdrawn software, so start-up asks whether to upgrade.
CliBedOptions ObsoleteInterface() {
    CliBedOptions options;
    options.carries = {{1060, 1}};
    return options;
}
}  // namespace

TEST(CliQuestions, WithoutATerminalOrAnAnswerOptionTheQuestionIsRefused) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, ObsoleteInterface());
    const CliRun run = bed.Run({"status"});
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_NE(run.err.find("obsolete software version"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("give --yes or --no"), std::string::npos);
    EXPECT_EQ(bed.telvix.flash->ProgramCount(), 0);
    EXPECT_EQ(bed.telvix.application->Software().softwareId, 1060);
}

TEST(CliQuestions, NoDeclinesAndTheCommandRuns) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, ObsoleteInterface());
    const CliRun run = bed.Run({"--no", "status"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("Do you want to upgrade? [no]"), std::string::npos) << run.err;
    EXPECT_EQ(TextField(run.out, "softwareId"), "1060");
    EXPECT_EQ(bed.telvix.flash->ProgramCount(), 0);
}

TEST(CliQuestions, OnATerminalTheAnswerIsAskedForUntilItIsYesOrNo) {
    REQUIRE_CLI_SERVERS(servers);
    CliBedOptions options = ObsoleteInterface();
    options.terminal = true;
    options.typedAnswers = {"perhaps", "n"};
    CliBed bed(*servers, options);
    const CliRun run = bed.Run({"status"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::size_t prompts = 0;
    for (std::size_t at = run.err.find("[y/n]"); at != std::string::npos; at = run.err.find("[y/n]", at + 1))
        ++prompts;
    EXPECT_EQ(prompts, 2u);
    EXPECT_EQ(bed.telvix.flash->ProgramCount(), 0);
}

namespace {
// The interface is on the bus but this user may not open its device node.
class DenyingBus final : public HidBus {
  public:
    explicit DenyingBus(HidBus& inner) : inner_(inner) {}
    std::vector<HidCollectionInfo> ListCollections() override { return inner_.ListCollections(); }
    std::optional<std::u16string> ReadProductString(const std::string&) override { return std::nullopt; }
    std::optional<std::u16string> ReadSerialString(const std::string&) override { return std::nullopt; }
    std::unique_ptr<HidReadHandle> OpenRead(const std::string&) override { return nullptr; }
    std::unique_ptr<HidWriteHandle> OpenWrite(const std::string&) override { return nullptr; }
    bool OpenDenied(const std::string&) override { return true; }

  private:
    HidBus& inner_;
};
}  // namespace

TEST(CliPermission, APresentInterfaceThatCannotBeOpenedNamesTheUdevRule) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    DenyingBus denying(bed.bus.Hid());
    bed.UseBus(denying);
    const CliRun run = bed.Run({"--timeout", "2", "status"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("permission denied"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("70-telvix-interface.rules"), std::string::npos);
    EXPECT_EQ(run.err.find("no Telvix interface found"), std::string::npos);
}

TEST(CliPermission, TheDeviceAreaSaysSoInsteadOfDisconnected) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    DenyingBus denying(bed.bus.Hid());
    bed.UseBus(denying);
    std::ostringstream out, err;
    CliSession session(bed.Machine(), CliTerminal{out, err, false, AnswerPolicy::No, false, {}});
    session.Start();
    EXPECT_TRUE(session.RunUntil([&] { return session.deviceArea.status == texts::kDevicePermissionDenied; },
                                 std::chrono::seconds(10)));
    EXPECT_EQ(session.deviceArea.icon, ICON_USB_DISCONNECTED);
    EXPECT_TRUE(PermissionHint(session.Context()).has_value());
}

TEST(CliPermission, NoInterfaceAtAllIsDeviceNotFoundWithoutTheHint) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    bed.box.Unplug();
    const CliRun run = bed.Run({"--timeout", "2", "status"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("no Telvix interface found"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("permission"), std::string::npos);
}
