// The idle state's request serving and the states that follow a settings, overlay or feature
// request to its result.
#include "app/ControllerTexts.h"
#include "app/MainController.h"

// The four request flags in their fixed order; only the first one set is served on a tick and the
// others are dropped. IssueCommand clears the flag of the write it encodes.
void MainController::ServeRequests() {
    if (context_.configWritePending) {
        ports_.deviceArea.EnableSettingsButton(false);
        Request(REQ_WRITE_CONFIG);
        context_.featureReadRequest = false;
        context_.featureWriteRequest = false;
        context_.overlayWritePending = false;
        Next(MS_WAIT_CONFIG_WRITE);
    } else if (context_.overlayWritePending) {
        ports_.deviceArea.EnableSettingsButton(false);
        Request(REQ_WRITE_OVERLAY);
        context_.featureReadRequest = false;
        context_.featureWriteRequest = false;
        context_.configWritePending = false;
        Next(MS_WAIT_OSD_WRITE);
    } else if (context_.featureWriteRequest) {
        Request(REQ_WRITE_FEATURES);
        context_.featureReadRequest = false;
        context_.configWritePending = false;
        context_.overlayWritePending = false;
        Next(MS_WAIT_FEATURE_WRITE);
    } else if (context_.featureReadRequest) {
        // Stays set until the reply: the decoder takes a 0x60 reply only while it is.
        Request(REQ_READ_FEATURES);
        context_.configWritePending = false;
        context_.featureWriteRequest = false;
        context_.overlayWritePending = false;
        Next(MS_WAIT_FEATURE_READ);
    }
}

// A write status is put back to pending once taken, so the next write is not met by the old one.
void MainController::WaitSettingsWrite(ControllerState written, ControllerState failed) {
    context_.messageShown = false;
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_WRITE_OK || status == STATUS_WRITE_ERROR) {
        context_.replyStatus = REPLY_PENDING;
        Next(status == STATUS_WRITE_OK ? written : failed);
    }
}

// The timer keeps running while the message is open; the state is back at idle before the message
// appears, so a tick during it neither shows it twice nor undoes a state stored meanwhile.
void MainController::ShowWriteResult(std::u16string_view text, MessageIcon icon) {
    ports_.deviceArea.EnableSettingsButton(true);
    Next(MS_IDLE);
    if (context_.messageShown)
        return;
    context_.messageShown = true;
    ports_.messages.Show(std::u16string(text), icon, MessageButtons::Ok);
}

void MainController::WaitFeatureRead() {
    const std::int32_t status = context_.replyStatus;
    if (status != STATUS_READ_OK && status != STATUS_READ_ERROR)
        return;
    context_.featureReadRequest = false;
    if (status == STATUS_READ_OK) {
        ports_.features.ShowFeatureReadResult(std::u16string(texts::kFeaturesRead), false);
    } else {
        ports_.features.ShowFeatureReadResult(std::u16string(texts::kFeaturesReadError), true);
    }
    Next(MS_IDLE);
}

void MainController::WaitFeatureWrite() {
    ports_.deviceArea.EnableFeatureButton(false);
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_WRITE_OK || status == STATUS_WRITE_ERROR) {
        context_.replyStatus = REPLY_PENDING;
        Next(status == STATUS_WRITE_OK ? MS_POLL_PROGRAMMING : MS_FEATURE_WRITE_FAILED);
    }
}

void MainController::PollProgramming() {
    Request(REQ_PROGRAMMING_STATUS);
    context_.statusPollActive = true;
    context_.programmingTicks = 0;
    context_.programmingReasks = 0;
    Next(MS_WAIT_PROGRAMMING);
}

void MainController::ShowFeatureWriteFailed() {
    ports_.features.ShowFeatureWriteResult(std::u16string(texts::kFeaturesWriteError), true);
    ports_.deviceArea.EnableFeatureButton(true);
    Next(MS_IDLE);
}

namespace {
// While the interface programs, the status is asked for again every second (10 ticks), at most 30
// times; an interface that stays silent after that has failed.
constexpr std::int32_t kProgrammingAskTicks = 10;
constexpr std::int32_t kProgrammingReaskLimit = 30;

// The interface's programming error codes 1 to 4; an unknown code still reports the failure.
std::u16string ProgrammingErrorText(std::int32_t code) {
    if (code >= 1 && code <= 4)
        return std::u16string(texts::kProgrammingErrors[code - 1]);
    return std::u16string(texts::kFeaturesUpdateFailed);
}
}  // namespace

// Phases other than 2 (done) and 3 (error) keep waiting; the decoder goes on taking 0x62 replies.
void MainController::WaitProgramming() {
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_READ_OK && context_.programPhase == 2) {
        ports_.features.ShowFeatureWriteResult(std::u16string(texts::kFeaturesUpdated), false);
    } else if (status == STATUS_READ_OK && context_.programPhase == 3) {
        ports_.features.ShowFeatureWriteResult(ProgrammingErrorText(context_.programError), true);
    } else if (status == STATUS_READ_ERROR) {
        ports_.features.ShowFeatureWriteResult(std::u16string(texts::kFeaturesUpdateFailed), true);
    } else if (!ProgrammingGivenUp()) {
        return;
    }
    ports_.deviceArea.EnableFeatureButton(true);
    Next(MS_IDLE);
}

// Counts a tick without a final answer: asks again when a second has passed, and once the last
// request has had its second, stops taking status replies and reports the failure.
bool MainController::ProgrammingGivenUp() {
    if (++context_.programmingTicks < kProgrammingAskTicks)
        return false;
    context_.programmingTicks = 0;
    if (context_.programmingReasks < kProgrammingReaskLimit) {
        ++context_.programmingReasks;
        Request(REQ_PROGRAMMING_STATUS);
        context_.statusPollActive = true;
        return false;
    }
    context_.statusPollActive = false;
    ports_.features.ShowFeatureWriteResult(std::u16string(texts::kFeaturesUpdateFailed), true);
    return true;
}
