// The idle state's requests and the states that follow them to their results.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/ControllerBed.h"

using ::testing::ElementsAre;

namespace {
TEST(IdleRequests, OnlyTheFirstRequestSetIsServedAndTheOthersAreDropped) {
    ControllerBed bed;
    bed.Idle();
    bed.context.configWritePending = true;
    bed.context.featureReadRequest = true;
    bed.context.overlayWritePending = true;
    bed.Tick();
    EXPECT_THAT(bed.operations.requests, ElementsAre(REQ_WRITE_CONFIG));
    EXPECT_FALSE(bed.context.featureReadRequest);
    EXPECT_FALSE(bed.context.overlayWritePending);
    EXPECT_FALSE(bed.deviceArea.settingsEnabled);
    EXPECT_EQ(bed.context.mainState, MS_WAIT_CONFIG_WRITE);
}

TEST(IdleRequests, RequestOrderIsConfigOverlayFeatureWriteFeatureRead) {
    struct Case {
        bool config, overlay, write, read;
        CommandRequest sent;
        std::int32_t next;
    };
    for (Case c : {Case{false, true, true, true, REQ_WRITE_OVERLAY, MS_WAIT_OSD_WRITE},
                   Case{false, false, true, true, REQ_WRITE_FEATURES, MS_WAIT_FEATURE_WRITE},
                   Case{false, false, false, true, REQ_READ_FEATURES, MS_WAIT_FEATURE_READ}}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.overlayWritePending = c.overlay;
        bed.context.featureWriteRequest = c.write;
        bed.context.featureReadRequest = c.read;
        bed.Tick();
        ASSERT_EQ(bed.operations.requests.size(), 1u);
        EXPECT_TRUE(bed.operations.requests[0] == c.sent);
        EXPECT_EQ(bed.context.mainState, c.next);
        EXPECT_FALSE(bed.context.overlayWritePending);
        EXPECT_FALSE(bed.context.featureWriteRequest);
        // The read flag stays set until its reply is taken.
        EXPECT_EQ(bed.context.featureReadRequest, c.sent == REQ_READ_FEATURES);
    }
}

TEST(IdleRequests, NothingPendingSendsNothing) {
    ControllerBed bed;
    bed.Idle();
    bed.Tick(5);
    EXPECT_TRUE(bed.operations.requests.empty());
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
}

TEST(IdleRequests, SettingsWriteShowsItsMessageOnceAndReEnablesSettings) {
    for (bool ok : {true, false}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.configWritePending = true;
        bed.Tick(3);
        EXPECT_EQ(bed.context.mainState, MS_WAIT_CONFIG_WRITE);
        bed.context.replyStatus = ok ? STATUS_WRITE_OK : STATUS_WRITE_ERROR;
        // A tick while the message is open, as the running timer delivers it.
        bed.messages.whileOpen = [&] { bed.controller.RunMainState(); };
        bed.Tick(2);
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        EXPECT_EQ(bed.context.replyStatus, REPLY_PENDING);
        ASSERT_EQ(bed.messages.shown.size(), 1u);
        EXPECT_EQ(bed.messages.shown[0].text, ok ? u"Device settings have been successfully updated"
                                                 : u"Write error! Device flash memory cannot be updated");
        EXPECT_EQ(bed.messages.shown[0].icon, ok ? MessageIcon::Information : MessageIcon::Error);
        EXPECT_TRUE(bed.deviceArea.settingsEnabled);
    }
}

TEST(IdleRequests, ARequestStoredWhileTheMessageIsOpenIsNotUndone) {
    ControllerBed bed;
    bed.Idle();
    bed.context.mainState = MS_OSD_WRITTEN;
    bed.messages.whileOpen = [&] {
        bed.context.configWritePending = true;
        bed.controller.RunMainState();  // idle serves the new write
    };
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_WAIT_CONFIG_WRITE);
    EXPECT_EQ(bed.messages.Count(u"OSD settings have been successfully updated"), 1);
}

TEST(IdleRequests, OverlayWriteFailureShowsItsError) {
    ControllerBed bed;
    bed.Idle();
    bed.context.overlayWritePending = true;
    bed.Tick();
    bed.context.replyStatus = STATUS_WRITE_ERROR;
    bed.Tick(2);
    ASSERT_EQ(bed.messages.shown.size(), 1u);
    EXPECT_EQ(bed.messages.shown[0].text, u"Write error! OSD settings cannot be updated");
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
}

TEST(IdleRequests, FeatureReadHandsTheResultToTheFeaturesDialog) {
    for (bool ok : {true, false}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.featureReadRequest = true;
        bed.Tick(3);
        EXPECT_TRUE(bed.context.featureReadRequest);
        bed.context.replyStatus = ok ? STATUS_READ_OK : STATUS_READ_ERROR;
        bed.Tick();
        EXPECT_FALSE(bed.context.featureReadRequest);
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        ASSERT_EQ(bed.features.results.size(), 1u);
        EXPECT_FALSE(bed.features.results[0].write);
        EXPECT_EQ(bed.features.results[0].text,
                  ok ? u"Click Accept to Start Programming" : u"Read error!Con not read Features options.");
        EXPECT_EQ(bed.features.results[0].failed, !ok);
    }
}

struct ProgrammingCase {
    std::int32_t status;
    std::int32_t phase;
    std::int32_t error;
    std::u16string text;
    bool failed;
};

TEST(IdleRequests, FeatureWriteWaitsForTheProgrammingOutcome) {
    for (const ProgrammingCase& c :
         {ProgrammingCase{STATUS_READ_OK, 2, 0, u"Device features have been successfully updated", false},
          ProgrammingCase{STATUS_READ_OK, 3, 1, u"Wrong OBD optio", true},
          ProgrammingCase{STATUS_READ_OK, 3, 2, u"Incorrect VIN number", true},
          ProgrammingCase{STATUS_READ_OK, 3, 3, u"OBD Authorization error", true},
          ProgrammingCase{STATUS_READ_OK, 3, 4, u"Diagnostic error", true},
          ProgrammingCase{STATUS_READ_OK, 3, 9, u"Features update failed!", true},
          ProgrammingCase{STATUS_READ_ERROR, 0, 0, u"Features update failed!", true}}) {
        ControllerBed bed;
        bed.Idle();
        bed.context.featureWriteRequest = true;
        bed.Tick(2);
        EXPECT_FALSE(bed.deviceArea.featureEnabled);
        bed.context.replyStatus = STATUS_WRITE_OK;
        bed.Tick(2);
        EXPECT_EQ(bed.context.mainState, MS_WAIT_PROGRAMMING);
        EXPECT_TRUE(bed.context.statusPollActive);
        EXPECT_THAT(bed.operations.requests, ElementsAre(REQ_WRITE_FEATURES, REQ_PROGRAMMING_STATUS));

        // Still programming: no outcome and, within the first second, no further status request.
        bed.context.replyStatus = STATUS_READ_OK;
        bed.context.programPhase = 1;
        bed.Tick(4);
        EXPECT_EQ(bed.context.mainState, MS_WAIT_PROGRAMMING);
        EXPECT_TRUE(bed.features.results.empty());
        EXPECT_EQ(bed.operations.requests.size(), 2u);

        bed.context.replyStatus = c.status;
        bed.context.programPhase = c.phase;
        bed.context.programError = c.error;
        bed.Tick();
        EXPECT_EQ(bed.context.mainState, MS_IDLE);
        ASSERT_EQ(bed.features.results.size(), 1u);
        EXPECT_TRUE(bed.features.results[0].write);
        EXPECT_EQ(bed.features.results[0].text, c.text);
        EXPECT_EQ(bed.features.results[0].failed, c.failed);
        EXPECT_TRUE(bed.deviceArea.featureEnabled);
    }
}

// An interface that answers "still running" and then stays silent is asked again every second
// (10 ticks), 30 times, and given up on a second after the last request. The count starts afresh
// with every programming.
TEST(IdleRequests, SilentProgrammingIsAskedAgainEverySecondThenReportedFailed) {
    ControllerBed bed;
    bed.Idle();
    const auto statusRequests = [&] {
        return std::count(bed.operations.requests.begin(), bed.operations.requests.end(),
                          REQ_PROGRAMMING_STATUS);
    };
    const auto startProgramming = [&] {
        bed.operations.requests.clear();
        bed.features.results.clear();
        bed.context.featureWriteRequest = true;
        bed.Tick();
        bed.context.replyStatus = STATUS_WRITE_OK;
        bed.Tick(2);
        ASSERT_EQ(bed.context.mainState, MS_WAIT_PROGRAMMING);
        bed.context.replyStatus = STATUS_READ_OK;
        bed.context.programPhase = 1;
    };

    startProgramming();
    bed.Tick(9);
    EXPECT_EQ(statusRequests(), 1);
    bed.Tick();
    EXPECT_EQ(statusRequests(), 2);
    EXPECT_TRUE(bed.context.statusPollActive);
    bed.Tick(50);
    EXPECT_EQ(statusRequests(), 7);
    bed.context.replyStatus = STATUS_READ_OK;
    bed.context.programPhase = 2;  // a final phase after any number of requests ends it as usual
    bed.Tick();
    ASSERT_EQ(bed.features.results.size(), 1u);
    EXPECT_FALSE(bed.features.results[0].failed);

    startProgramming();
    bed.Tick(309);
    EXPECT_EQ(bed.context.mainState, MS_WAIT_PROGRAMMING);
    EXPECT_EQ(statusRequests(), 31);
    EXPECT_TRUE(bed.features.results.empty());
    bed.Tick();
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_EQ(statusRequests(), 31);
    ASSERT_EQ(bed.features.results.size(), 1u);
    EXPECT_EQ(bed.features.results[0].text, u"Features update failed!");
    EXPECT_TRUE(bed.features.results[0].failed);
    EXPECT_TRUE(bed.deviceArea.featureEnabled);
    EXPECT_FALSE(bed.context.statusPollActive) << "a late status reply is no longer taken";
}

TEST(IdleRequests, RefusedFeatureWriteReportsTheWriteError) {
    ControllerBed bed;
    bed.Idle();
    bed.context.featureWriteRequest = true;
    bed.Tick();
    bed.context.replyStatus = STATUS_WRITE_ERROR;
    bed.Tick(2);
    EXPECT_EQ(bed.context.mainState, MS_IDLE);
    EXPECT_EQ(bed.context.replyStatus, REPLY_PENDING);
    ASSERT_EQ(bed.features.results.size(), 1u);
    EXPECT_EQ(bed.features.results[0].text, u"Write error! Device features cannot be updated.");
    EXPECT_TRUE(bed.features.results[0].failed);
    EXPECT_TRUE(bed.deviceArea.featureEnabled);
}
}  // namespace
