// Start-up checks, connect, identification and the upgrade offer, on the controller alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/ControllerTexts.h"
#include "tests/app/ControllerBed.h"

using ::testing::ElementsAre;

namespace {
std::u16string U(std::u16string_view text) {
    return std::u16string(text);
}

TEST(StartupStates, NormalRunVisitsTheChecksThenIdentifiesAndGoesIdle) {
    ControllerBed bed;
    bed.operations.onConnect = [&] { bed.context.iUsbConnectSts = USB_APPLICATION; };
    auto states = bed.TickUntil(MS_WAIT_CONFIG);
    EXPECT_THAT(states,
                ElementsAre(MS_START, MS_PAUSE_1, MS_PAUSE_2, MS_CHECK_ODBC, MS_CONNECT, MS_READ_CONFIG));
    EXPECT_EQ(bed.context.workingDirectory, u"/opt/telvix");
    EXPECT_TRUE(bed.operations.Sent(REQ_READ_CONFIG));
    EXPECT_EQ(bed.operations.listFills, 1);
    EXPECT_EQ(bed.deviceArea.icon, ICON_USB_APPLICATION);

    bed.Tick(3);  // the reply has not been decoded yet
    EXPECT_EQ(bed.context.mainState, MS_WAIT_CONFIG);
    bed.context.replyStatus = STATUS_READ_OK;
    bed.context.softwareRecord.sw_valid_status = 1;
    bed.Tick(2);
    EXPECT_EQ(bed.context.mainState, MS_WAIT_LOOKUP);
    EXPECT_THAT(bed.operations.databaseRuns, ElementsAre(DB_OP_CURRENT_SOFTWARE));
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_WAIT_LOOKUP);  // DB_BUSY
    bed.context.dbResult = DB_DONE;
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_TRUE(bed.messages.shown.empty());
    EXPECT_TRUE(bed.timer.running);
}

TEST(StartupStates, WorkingDirectoryIsCutTo255Characters) {
    ControllerBed bed;
    bed.system.directory = std::u16string(300, u'd');
    bed.Tick();
    EXPECT_EQ(bed.context.workingDirectory.size(), 255u);
}

TEST(StartupStates, NoInternetParksWithOneWarningShownAfterTheStateIsStored) {
    ControllerBed bed;
    bed.system.internet = false;
    std::int32_t stateDuringMessage = -1;
    bed.messages.whileOpen = [&] { stateDuringMessage = bed.context.mainState; };
    bed.Tick(10);
    EXPECT_EQ(stateDuringMessage, MS_NO_INTERNET);
    EXPECT_EQ(bed.context.mainState, MS_NO_INTERNET);
    ASSERT_EQ(bed.messages.shown.size(), 1u);
    EXPECT_EQ(bed.messages.shown[0].text, U(texts::kNoInternet));
    EXPECT_EQ(bed.messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(bed.operations.connects, 0);
}

TEST(StartupStates, PausesStopAndRestartTheTimer) {
    ControllerBed bed;
    bed.Tick(3);
    EXPECT_EQ(bed.context.mainState, MS_CHECK_ODBC);
    EXPECT_EQ(bed.timer.stops, 2);
    EXPECT_EQ(bed.timer.restarts, 2);
}

TEST(StartupStates, MissingDriverAsksAgainAfterAFailedInstallerRun) {
    ControllerBed bed;
    bed.context.mainState = MS_CHECK_ODBC;
    bed.context.workingDirectory = u"/opt/telvix";
    bed.operations.driverPresent = false;
    bed.messages.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
    bed.system.installerExitCodes = {1603, 0};
    bool timerRunningDuringQuestion = true;
    bed.messages.whileOpen = [&] { timerRunningDuringQuestion = bed.timer.running; };

    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_CHECK_ODBC);
    EXPECT_FALSE(timerRunningDuringQuestion);
    EXPECT_TRUE(bed.timer.running);
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_CONNECT);
    ASSERT_EQ(bed.messages.shown.size(), 2u);
    EXPECT_EQ(bed.messages.shown[1].text, U(texts::kInstallConnector));
    EXPECT_EQ(bed.messages.shown[1].icon, MessageIcon::Information);
    EXPECT_EQ(bed.messages.shown[1].buttons, MessageButtons::YesNo);
    EXPECT_THAT(bed.system.installerRuns,
                ElementsAre(u"/opt/telvix/odbc/mysql-connector-odbc-5.1.11-win32.msi",
                            u"/opt/telvix/odbc/mysql-connector-odbc-5.1.11-win32.msi"));
}

TEST(StartupStates, DecliningTheConnectorClosesTheWindow) {
    ControllerBed bed;
    bed.context.mainState = MS_CHECK_ODBC;
    bed.operations.driverPresent = false;
    bed.messages.answers = {MessageAnswer::No};
    bed.Tick();
    EXPECT_TRUE(bed.system.closed);
    EXPECT_TRUE(bed.system.installerRuns.empty());
    EXPECT_EQ(bed.context.mainState, MS_CHECK_ODBC);
    EXPECT_EQ(bed.operations.connects, 0);
}

TEST(StartupStates, InterfaceInBootloaderOrVolumeModeGoesIdleWithTheLoaderView) {
    for (std::int32_t mode : {USB_BOOTLOADER, USB_MASS_STORAGE}) {
        ControllerBed bed;
        bed.context.mainState = MS_CONNECT;
        bed.context.mfg_id = u"WJ7731R";
        bed.Tick();
        EXPECT_EQ(bed.context.mainState, MS_WAIT_CONNECT);
        bed.Tick(3);  // nothing connected yet
        EXPECT_EQ(bed.context.mainState, MS_WAIT_CONNECT);
        bed.context.iUsbConnectSts = mode;
        bed.Tick();
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        EXPECT_EQ(bed.deviceArea.icon, ICON_USB_LOADER);
        EXPECT_EQ(bed.deviceArea.statusText, u"WJ7731R");
        EXPECT_TRUE(bed.searchArea.searchEnabled);
        EXPECT_FALSE(bed.searchArea.listsEnabled);
        EXPECT_EQ(bed.operations.listFills, 1);
        EXPECT_FALSE(bed.operations.Sent(REQ_READ_CONFIG));
    }
}

TEST(StartupStates, ConfigurationReadErrorParks) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_READ_CONFIG;
    bed.Tick();
    bed.context.replyStatus = STATUS_READ_ERROR;
    bed.Tick(5);
    EXPECT_EQ(bed.context.mainState, MS_CONFIG_FAILED);
    EXPECT_TRUE(bed.operations.databaseRuns.empty());
}

TEST(StartupStates, FailedLookupShowsNonAvailableAndLeavesSearchDisabled) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_LOOKUP_SOFTWARE;
    bed.Tick();
    bed.context.dbResult = DB_FAILED;
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_EQ(bed.deviceArea.featuresText, u"Non available");
    EXPECT_EQ(bed.deviceArea.statusText, u"Non available");
    EXPECT_FALSE(bed.searchArea.searchEnabled);
}

struct UpgradeCase {
    MessageAnswer answer;
    std::int32_t rowCount;
    std::int32_t expected;
};

TEST(StartupStates, ObsoleteSoftwareOffersTheUpgradeOnlyForExactlyOneEntry) {
    for (UpgradeCase c :
         {UpgradeCase{MessageAnswer::Yes, 1, MS_CHECK_AVAILABILITY},
          UpgradeCase{MessageAnswer::Yes, 2, MS_IDLE}, UpgradeCase{MessageAnswer::Yes, 0, MS_IDLE},
          UpgradeCase{MessageAnswer::No, 1, MS_IDLE}}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.mainState = MS_WAIT_LOOKUP;
        bed.context.dbResult = DB_DONE;
        bed.context.softwareRecord.sw_valid_status = 0;
        bed.messages.answers = {c.answer};
        bed.Tick();
        ASSERT_EQ(bed.messages.shown.size(), 1u);
        EXPECT_EQ(bed.messages.shown[0].text, U(texts::kObsoleteSoftware));
        EXPECT_EQ(bed.messages.shown[0].icon, MessageIcon::Warning);
        if (c.answer == MessageAnswer::Yes) {
            EXPECT_EQ(bed.context.mainState, MS_LOAD_UPGRADE);
            bed.Tick();
            bed.context.dbRowCount = c.rowCount;
            bed.context.dbResult = DB_DONE;
            bed.TickUntil(c.expected, 5);
            EXPECT_THAT(bed.operations.databaseRuns, ElementsAre(DB_OP_LOAD_UPGRADE));
        }
        EXPECT_EQ(bed.context.mainState, c.expected) << c.rowCount;
        EXPECT_EQ(bed.progress.visible, c.expected == MS_CHECK_AVAILABILITY);
    }
}

TEST(StartupStates, UpgradeOfAHidModelFetchesAndChecksTheImageFirst) {
    ControllerBed bed;
    bed.Idle();
    bed.operations.hidModel = true;
    bed.context.mainState = MS_START_UPGRADE;
    bed.Tick();
    EXPECT_EQ(bed.context.hidInstall, 1);
    EXPECT_EQ(bed.operations.fetches, 1);
    EXPECT_TRUE(bed.context.imagePrepared);
    EXPECT_EQ(bed.context.mainState, MS_CHECK_AVAILABILITY);
}

TEST(StartupStates, UpgradeOfAHidModelWhoseImageFailsEndsWithDownloadFailed) {
    for (bool detailsLoad : {true, false}) {
        ControllerBed bed;
        bed.Idle();
        bed.operations.hidModel = true;
        bed.operations.detailsLoad = detailsLoad;
        bed.operations.fetchResult = 2;
        bed.context.mainState = MS_START_UPGRADE;
        bed.Tick(2);
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        EXPECT_THAT(bed.progress.StepTexts(), ElementsAre(u"ERROR: Download failed"));
        EXPECT_TRUE(bed.progress.finished);
        EXPECT_FALSE(bed.progress.succeeded);
        EXPECT_FALSE(bed.operations.Sent(REQ_START_ENGINE));
        EXPECT_FALSE(bed.operations.Sent(REQ_REBOOT));
        EXPECT_THAT(bed.operations.journalStarts, ElementsAre(true));
        EXPECT_THAT(bed.operations.journalEnds,
                    ElementsAre(std::make_pair(false, std::u16string(u"ERROR: Download failed"))));
    }
}

// The file copy checks the image against the catalogue's length and digest too, so a volume
// model's upgrade entry brings them; without them the upgrade does not start.
TEST(StartupStates, UpgradeOfAVolumeModelLoadsTheImageDetailsButFetchesNothing) {
    for (bool loaded : {true, false}) {
        ControllerBed bed;
        bed.Idle();
        bed.operations.detailsLoad = loaded;
        bed.context.mainState = MS_START_UPGRADE;
        bed.Tick();
        EXPECT_EQ(bed.context.hidInstall, 0);
        EXPECT_EQ(bed.operations.fetches, 0);
        EXPECT_EQ(bed.context.mainState, loaded ? MS_CHECK_AVAILABILITY : MS_DOWNLOAD_FAILED);
    }
}
}  // namespace
