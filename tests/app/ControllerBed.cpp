#include "tests/app/ControllerBed.h"

bool RecordingOperations::IssueCommand(CommandRequest request) {
    const bool modeChecked =
        request == REQ_READ_CONFIG || request == REQ_READ_FEATURES || request == REQ_PROGRAMMING_STATUS;
    if (modeChecked && context_.iUsbConnectSts != USB_APPLICATION)
        return false;
    if (request.direction == 0 && request.type != 12)
        context_.replyStatus = REPLY_PENDING;
    if (request == REQ_FTP_CHECK || request == REQ_FTP_DOWNLOAD || request == REQ_START_ENGINE) {
        context_.ftpDone = false;
    }
    if (request == REQ_WRITE_CONFIG)  // the stamped write leaves the flag alone
        context_.configWritePending = false;
    if (request == REQ_WRITE_OVERLAY)
        context_.overlayWritePending = false;
    if (request == REQ_WRITE_FEATURES)
        context_.featureWriteRequest = false;
    requests.push_back(request);
    return true;
}

bool RecordingOperations::Sent(CommandRequest request) const {
    for (const CommandRequest& sent : requests) {
        if (sent == request)
            return true;
    }
    return false;
}

std::vector<std::int32_t> ControllerBed::Tick(int n) {
    std::vector<std::int32_t> states;
    for (int i = 0; i < n; ++i) {
        states.push_back(context.mainState);
        controller.RunMainState();
    }
    return states;
}

std::vector<std::int32_t> ControllerBed::TickUntil(std::int32_t state, int limit) {
    std::vector<std::int32_t> states;
    for (int i = 0; i < limit && context.mainState != state; ++i) {
        states.push_back(context.mainState);
        controller.RunMainState();
    }
    return states;
}

void ControllerBed::Idle() {
    context.iUsbConnectSts = USB_APPLICATION;
    context.mainState = MS_IDLE;
    context.replyStatus = REPLY_PENDING;
    context.identityKnown = true;
}
