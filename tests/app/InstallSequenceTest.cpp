// The Install command and the install sequence on the controller alone: routes, step texts, bar
// positions, and every failure with its text and where the controller stays.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/ControllerBed.h"

using ::testing::ElementsAre;
using Steps = std::vector<std::pair<std::u16string, int>>;

namespace {
// Plays the interface's side of the sequence for the states that wait on it.
void Answer(ControllerBed& bed) {
    UpdaterContext& c = bed.context;
    switch (c.mainState) {
        case MS_WAIT_AVAILABILITY:
        case MS_WAIT_DOWNLOAD:
        case MS_WAIT_FLASH:
            c.ftpResult = FTP_OK;
            c.ftpDone = true;
            break;
        case MS_WAIT_LOADER:
            if (c.iUsbConnectSts == USB_NOT_CONNECTED)
                c.iUsbConnectSts = bed.context.hidInstall ? USB_BOOTLOADER : USB_MASS_STORAGE;
            break;
        case MS_WAIT_APPLICATION:
            c.iUsbConnectSts = USB_APPLICATION;
            break;
        case MS_WAIT_RECORD:
        case MS_WAIT_INTEGRITY:
            c.dbResult = DB_DONE;
            break;
        case MS_WAIT_READ_BEFORE_WRITE:
        case MS_WAIT_READ_VERIFY:
            c.replyStatus = STATUS_READ_OK;
            break;
        case MS_WAIT_WRITE_CONFIG:
            c.replyStatus = STATUS_WRITE_OK;
            break;
        default:
            break;
    }
}

std::vector<std::int32_t> RunInstall(ControllerBed& bed, int limit = 80) {
    std::vector<std::int32_t> states;
    bed.controller.OnInstall();
    for (int i = 0; i < limit && bed.context.mainState != MS_IDLE; ++i) {
        states.push_back(bed.context.mainState);
        bed.controller.RunMainState();
        Answer(bed);
    }
    return states;
}

const Steps kTail = {{u"Waiting for device initialization", 39},
                     {u"Updating database", 52},
                     {u"Updating device memory", 65},
                     {u"Verifying device memory", 78},
                     {u"Verifiyng data integrity", 91},
                     {u"Software has been successfully installed", 100}};

Steps WithTail(Steps head) {
    head.insert(head.end(), kTail.begin(), kTail.end());
    return head;
}

TEST(InstallSequence, UpdateVolumeRouteFromApplicationMode) {
    ControllerBed bed;
    bed.Idle();
    auto states = RunInstall(bed);
    EXPECT_THAT(states, ElementsAre(MS_CHECK_AVAILABILITY, MS_WAIT_AVAILABILITY, MS_AVAILABLE, MS_REBOOT,
                                    MS_WAIT_LOADER, MS_VOLUME_READY, MS_DOWNLOAD_FILE, MS_WAIT_DOWNLOAD,
                                    MS_WAIT_INIT, MS_WAIT_APPLICATION, MS_UPDATE_DATABASE, MS_START_RECORD,
                                    MS_WAIT_RECORD, MS_UPDATE_MEMORY, MS_READ_BEFORE_WRITE,
                                    MS_WAIT_READ_BEFORE_WRITE, MS_WRITE_CONFIG, MS_WAIT_WRITE_CONFIG,
                                    MS_VERIFY_MEMORY, MS_READ_VERIFY, MS_WAIT_READ_VERIFY, MS_MEMORY_VERIFIED,
                                    MS_CHECK_INTEGRITY, MS_WAIT_INTEGRITY, MS_INSTALLED));
    EXPECT_EQ(bed.progress.Steps(), WithTail({{u"Verifying software availability", 0},
                                              {u"Rebooting device", 13},
                                              {u"Downloading software", 26}}));
    EXPECT_THAT(bed.operations.requests,
                ElementsAre(REQ_FTP_CHECK, REQ_REBOOT, REQ_FTP_DOWNLOAD, REQ_READ_CONFIG,
                            REQ_WRITE_STAMPED_CONFIG, REQ_READ_CONFIG));
    EXPECT_THAT(bed.operations.databaseRuns, ElementsAre(DB_OP_RECORD_INSTALL, DB_OP_CURRENT_SOFTWARE));
    EXPECT_TRUE(bed.progress.finished);
    EXPECT_TRUE(bed.progress.succeeded);
    EXPECT_EQ(bed.operations.fetches, 0);
}

TEST(InstallSequence, JournalHearsTheStartAndTheSuccess) {
    ControllerBed bed;
    bed.Idle();
    RunInstall(bed);
    EXPECT_THAT(bed.operations.journalStarts, ElementsAre(false));
    EXPECT_THAT(
        bed.operations.journalEnds,
        ElementsAre(std::make_pair(true, std::u16string(u"Software has been successfully installed"))));
}

TEST(InstallSequence, UpdateVolumeAlreadyPresentIsNotRebooted) {
    ControllerBed bed;
    bed.Idle();
    bed.context.iUsbConnectSts = USB_MASS_STORAGE;
    RunInstall(bed);
    EXPECT_FALSE(bed.operations.Sent(REQ_REBOOT));
    EXPECT_EQ(bed.progress.Steps(),
              WithTail({{u"Verifying software availability", 0}, {u"Downloading software", 26}}));
}

TEST(InstallSequence, HidRouteFromApplicationModeStopsTheWriterAndFlashes) {
    ControllerBed bed;
    bed.Idle();
    bed.operations.hidModel = true;
    bed.context.bootProbeActive = true;
    auto states = RunInstall(bed);
    EXPECT_THAT(std::vector<std::int32_t>(states.begin(), states.begin() + 7),
                ElementsAre(MS_CHECK_AVAILABILITY, MS_REBOOT, MS_WAIT_LOADER, MS_START_ENGINE, MS_START_FLASH,
                            MS_WAIT_FLASH, MS_WAIT_INIT));
    EXPECT_EQ(bed.operations.fetches, 1);
    EXPECT_EQ(bed.operations.writerStops, 1);
    EXPECT_FALSE(bed.context.bootProbeActive);
    EXPECT_EQ(bed.progress.Steps(), WithTail({{u"Rebooting device", 13}, {u"Downloading software", 26}}));
    EXPECT_THAT(
        std::vector<CommandRequest>(bed.operations.requests.begin(), bed.operations.requests.begin() + 3),
        ElementsAre(REQ_REBOOT, REQ_START_ENGINE, REQ_START_FLASH));
    EXPECT_TRUE(bed.progress.succeeded);
}

TEST(InstallSequence, HidRouteFromBootloaderModeNeitherChecksNorReboots) {
    ControllerBed bed;
    bed.Idle();
    bed.context.iUsbConnectSts = USB_BOOTLOADER;
    bed.operations.hidModel = true;
    auto states = RunInstall(bed);
    EXPECT_THAT(
        std::vector<std::int32_t>(states.begin(), states.begin() + 5),
        ElementsAre(MS_CHECK_AVAILABILITY, MS_START_ENGINE, MS_START_FLASH, MS_WAIT_FLASH, MS_WAIT_INIT));
    EXPECT_EQ(bed.progress.Steps().front(), (std::pair<std::u16string, int>{u"Downloading software", 26}));
}

TEST(InstallSequence, InterfaceNotYetIdentifiedIsReadBeforeTheInstallIsRecorded) {
    for (bool readOk : {true, false}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.identityKnown = false;  // came up in its bootloader
        bed.context.mainState = MS_START_RECORD;
        bed.Tick(3);
        EXPECT_THAT(bed.operations.requests, ElementsAre(REQ_READ_CONFIG));
        EXPECT_TRUE(bed.operations.databaseRuns.empty());
        bed.context.replyStatus = readOk ? STATUS_READ_OK : STATUS_READ_ERROR;
        bed.Tick();
        if (readOk) {
            EXPECT_THAT(bed.operations.databaseRuns, ElementsAre(DB_OP_RECORD_INSTALL));
            EXPECT_EQ(bed.context.mainState, MS_WAIT_RECORD);
        } else {
            EXPECT_TRUE(bed.operations.databaseRuns.empty());
            bed.Tick(2);
            EXPECT_EQ(bed.context.mainState, MS_UPDATE_FAILED);
        }
    }
}

TEST(InstallSequence, FlashProgressMovesTheBarFrom26To39) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_WAIT_FLASH;
    bed.context.ftpDone = false;
    for (int percent : {0, 50, 50, 100}) {
        bed.context.flashProgress = percent;
        bed.Tick();
    }
    // 0 equals the value shown at program start, and a repeated value changes nothing.
    EXPECT_EQ(bed.progress.Steps(), (Steps{{u"Downloading software 50% completed", 32},
                                           {u"Downloading software 100% completed", 39}}));
    bed.context.flashProgress = 0;
    bed.Tick();
    EXPECT_EQ(bed.progress.Steps().back(),
              (std::pair<std::u16string, int>{u"Downloading software 0% completed", 26}));
    EXPECT_EQ(bed.context.mainState, MS_WAIT_FLASH);
}

TEST(InstallSequence, ApplicationModeAfterTheRebootContinuesOnlyForAHidInstall) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_WAIT_LOADER;
    bed.context.iUsbConnectSts = USB_APPLICATION;
    bed.Tick(3);
    EXPECT_EQ(bed.context.mainState, MS_WAIT_LOADER);
    bed.context.hidInstall = 1;
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_START_ENGINE);
    EXPECT_EQ(bed.context.iUsbConnectSts, USB_BOOTLOADER);
}

TEST(InstallSequence, InterfaceThatNeverComesBackEndsTheInstallAfterThreeMinutes) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_WAIT_INIT;
    bed.context.iUsbConnectSts = USB_NOT_CONNECTED;
    bed.Tick(1 + 1800);
    EXPECT_EQ(bed.context.mainState, MS_WAIT_APPLICATION);
    bed.Tick(2);
    EXPECT_EQ(bed.context.mainState, MS_UPDATE_FAILED);
    EXPECT_FALSE(bed.progress.succeeded);
    EXPECT_EQ(bed.progress.text, u"ERROR: Update failed");
}

TEST(InstallSequence, EngineNeverStartsWithoutAPreparedImage) {
    ControllerBed bed;
    bed.Idle();
    bed.context.hidInstall = 1;
    bed.context.iUsbConnectSts = USB_BOOTLOADER;
    bed.context.mainState = MS_CHECK_AVAILABILITY;  // stored from outside, no image fetched
    bed.Tick(3);
    EXPECT_FALSE(bed.operations.Sent(REQ_START_ENGINE));
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_THAT(bed.progress.StepTexts(), ElementsAre(u"ERROR: Download failed"));
}

TEST(InstallSequence, EntryThatCannotBeLoadedParksWithTheDialogUnfinished) {
    ControllerBed bed;
    bed.Idle();
    bed.operations.selectedLoads = false;
    bed.controller.OnInstall();
    bed.Tick(5);
    EXPECT_EQ(bed.context.mainState, MS_DETAILS_FAILED);
    EXPECT_TRUE(bed.progress.visible);
    EXPECT_FALSE(bed.progress.finished);
    EXPECT_TRUE(bed.operations.requests.empty());
}

TEST(InstallSequence, ImageFetchFailureEndsBeforeTheInterfaceIsTouched) {
    ControllerBed bed;
    bed.Idle();
    bed.operations.hidModel = true;
    bed.operations.fetchResult = 2;
    bed.controller.OnInstall();
    EXPECT_EQ(bed.context.mainState, MS_DOWNLOAD_FAILED);
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_THAT(bed.progress.StepTexts(), ElementsAre(u"ERROR: Download failed"));
    EXPECT_FALSE(bed.progress.succeeded);
    EXPECT_TRUE(bed.progress.finished);
    EXPECT_TRUE(bed.operations.requests.empty());
}

struct FailureCase {
    const char* name;
    std::int32_t failingState;
    std::function<void(UpdaterContext&)> fail;
    std::vector<std::u16string> texts;
    std::int32_t endState;
};

// Without the catalogue's answer the route is unknown: nothing goes to the interface, the dialog
// says why and the controller is idle again. The upgrade route shares the rule.
TEST(InstallSequence, CatalogueFailureOfTheBootloaderLookupEndsBeforeTheInterfaceIsTouched) {
    struct Case {
        bool upgrade;
        std::u16string driverMessage;
        std::u16string text;
    };
    for (const Case& c :
         {Case{false, u"Can't connect to server", u"ERROR: Catalogue not reachable: Can't connect to server"},
          Case{true, u"", u"ERROR: Catalogue not reachable"}}) {
        ControllerBed bed;
        bed.Idle();
        bed.operations.hidModel = true;
        bed.operations.lookupFails = true;
        bed.operations.lookupMessage = c.driverMessage;
        if (c.upgrade) {
            bed.context.mainState = MS_START_UPGRADE;
            bed.Tick();
        } else {
            bed.controller.OnInstall();
        }
        bed.Tick(5);
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        EXPECT_TRUE(bed.operations.requests.empty());
        EXPECT_EQ(bed.operations.fetches, 0);
        EXPECT_THAT(bed.progress.StepTexts(), ElementsAre(c.text));
        EXPECT_EQ(bed.progress.OutcomeCount(), 1);
        EXPECT_TRUE(bed.progress.finished);
        EXPECT_FALSE(bed.progress.succeeded);
    }
}

TEST(InstallSequence, EveryFailureShowsItsTextAndNeverSuccess) {
    auto ftpFails = [](UpdaterContext& c) {
        c.ftpResult = FTP_NOT_FOUND;
        c.ftpDone = true;
    };
    const std::vector<FailureCase> cases = {
        {"not on server",
         MS_WAIT_AVAILABILITY,
         ftpFails,
         {u"ERROR: Requested software not found"},
         MS_NOT_AVAILABLE},
        {"copy failed", MS_WAIT_DOWNLOAD, ftpFails, {u"ERROR: Download failed"}, MS_IDLE},
        {"record failed",
         MS_WAIT_RECORD,
         [](UpdaterContext& c) { c.dbResult = DB_FAILED; },
         {u"ERROR: Can't update database"},
         MS_RECORD_FAILED},
        {"read before write",
         MS_WAIT_READ_BEFORE_WRITE,
         [](UpdaterContext& c) { c.replyStatus = STATUS_READ_ERROR; },
         {u"ERROR: Device memory can't be verified", u"ERROR: Update failed"},
         MS_UPDATE_FAILED},
        {"write refused",
         MS_WAIT_WRITE_CONFIG,
         [](UpdaterContext& c) { c.replyStatus = STATUS_WRITE_ERROR; },
         {u"ERROR: Can't update device memory"},
         MS_WRITE_FAILED},
        {"verify read",
         MS_WAIT_READ_VERIFY,
         [](UpdaterContext& c) { c.replyStatus = STATUS_READ_ERROR; },
         {u"ERROR: Device memory can't be verified", u"ERROR: Update failed"},
         MS_UPDATE_FAILED},
        {"final lookup",
         MS_WAIT_INTEGRITY,
         [](UpdaterContext& c) { c.dbResult = DB_FAILED; },
         {u"ERROR: Update failed"},
         MS_UPDATE_FAILED},
    };
    for (const FailureCase& c : cases) {
        ControllerBed bed;
        bed.Idle();
        bed.controller.OnInstall();
        for (int i = 0; i < 80 && bed.context.mainState != c.failingState; ++i) {
            bed.controller.RunMainState();
            Answer(bed);
        }
        ASSERT_EQ(bed.context.mainState, c.failingState) << c.name;
        c.fail(bed.context);
        bed.Tick(c.texts.size() == 2 ? 3 : 2);
        EXPECT_EQ(bed.context.mainState, c.endState) << c.name;
        auto texts = bed.progress.StepTexts();
        ASSERT_FALSE(texts.empty()) << c.name;
        for (std::size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_EQ(texts[i], c.texts[i]) << c.name;
        EXPECT_TRUE(bed.progress.finished) << c.name;
        EXPECT_FALSE(bed.progress.succeeded) << c.name;
        for (const auto& step : bed.progress.Steps()) {
            EXPECT_NE(step.first, u"Software has been successfully installed") << c.name;
        }
        EXPECT_THAT(bed.operations.journalStarts, ElementsAre(false)) << c.name;
        ASSERT_FALSE(bed.operations.journalEnds.empty()) << c.name;
        EXPECT_EQ(bed.operations.journalEnds.front(), std::make_pair(false, c.texts.front())) << c.name;
    }
}

TEST(InstallSequence, ParkedNotFoundAndUpdateFailedRepeatTheirTextEveryTick) {
    for (std::int32_t state : {MS_NOT_AVAILABLE, MS_UPDATE_FAILED}) {
        ControllerBed bed;
        bed.context.mainState = state;
        bed.Tick(4);
        EXPECT_EQ(bed.progress.StepTexts().size(), 4u);
        EXPECT_EQ(bed.progress.OutcomeCount(), 4);
        EXPECT_EQ(bed.context.mainState, state);
    }
}

TEST(InstallSequence, InstallReplacesWhateverTheControllerWasDoing) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_UPDATE_FAILED;
    bed.controller.OnInstall();
    EXPECT_EQ(bed.context.mainState, MS_CHECK_AVAILABILITY);
}
}  // namespace
