#include "app/DiagnosticsWatch.h"

#include "app/UpdaterContext.h"
#include "platform/DiagnosticsLog.h"
#include "platform/SystemDescription.h"
#include "platform/Text.h"

namespace {

const char* ModeName(std::int32_t mode) {
    switch (mode) {
        case USB_NOT_CONNECTED:
            return "not connected";
        case USB_MASS_STORAGE:
            return "update volume";
        case USB_APPLICATION:
            return "application";
        case USB_BOOTLOADER:
            return "bootloader";
        case USB_CONNECTING:
            return "connecting";
        default:
            return "unknown";
    }
}

const char* TransferResultName(std::int32_t result) {
    switch (result) {
        case FTP_NO_CONNECTION:
            return "no connection to the server";
        case FTP_NOT_FOUND:
            return "file not found";
        case FTP_TRANSFER_FAILED:
            return "transfer failed";
        default:
            return "failed";
    }
}

std::string ReplyStatusName(std::int32_t status) {
    switch (status) {
        case STATUS_READ_OK:
            return "read ok";
        case STATUS_READ_ERROR:
            return "read error";
        case STATUS_WRITE_OK:
            return "write ok";
        case STATUS_WRITE_ERROR:
            return "write error";
        default:
            return "status " + std::to_string(status);
    }
}

}  // namespace

DiagnosticsWatch::DiagnosticsWatch(const UpdaterContext& context, DiagnosticsLog* log)
    : context_(context), log_(log) {}

void DiagnosticsWatch::Write(std::string_view topic, const std::string& text) {
    if (log_ != nullptr)
        log_->Write(topic, text);
}

void DiagnosticsWatch::ProgramStarted(std::u16string_view version) {
    Write("program", "Telvix Updater " + ToUtf8(version) + " on " + SystemDescription());
}

void DiagnosticsWatch::Observe() {
    if (log_ == nullptr)
        return;
    // The database worker owns the catalogue fields while it runs; it hands them back with its
    // result (release), and only this thread starts it again.
    const bool catalogueSettled = context_.dbResult.load(std::memory_order_acquire) != DB_BUSY;
    ObserveInterface(catalogueSettled);
    ObserveInstall(catalogueSettled);
    const std::int32_t reply = context_.replyStatus.load();
    if (reply != replyStatus_) {
        replyStatus_ = reply;
        if (reply != REPLY_PENDING)
            Write("command", "reply: " + ReplyStatusName(reply));
    }
}

void DiagnosticsWatch::ObserveInterface(bool catalogueSettled) {
    const std::int32_t mode = context_.iUsbConnectSts.load();
    if (mode != mode_) {
        mode_ = mode;
        std::string text = std::string("interface: ") + ModeName(mode);
        if (mode != USB_NOT_CONNECTED && !context_.mfg_id.empty())
            text += ", model " + ToUtf8(context_.mfg_id);
        Write("interface", text);
    }
    if (catalogueSettled && context_.label_serial != serial_) {
        serial_ = context_.label_serial;
        if (!serial_.empty())
            Write("interface", "serial " + ToUtf8(serial_));
    }
}

void DiagnosticsWatch::ObserveInstall(bool catalogueSettled) {
    const std::int32_t state = context_.mainState;
    if (state != state_) {
        const bool wasRunning = InstallRunning(state_);
        const bool running = InstallRunning(state);
        if (running && !wasRunning) {
            installed_ = false;
            startPending_ = true;
        }
        if (running)
            Write("install", "state " + std::to_string(state_) + " -> " + std::to_string(state));
        installed_ = installed_ || state == MS_INSTALLED;
        if (wasRunning && !running)
            Write("install",
                  installed_ ? "ended: succeeded" : "ended: failed in state " + std::to_string(state_));
        state_ = state;
    }
    if (startPending_ && catalogueSettled) {
        startPending_ = false;
        const SoftwareRecord& record = context_.softwareRecord;
        Write("install", "started: software " + std::to_string(record.sw_id) + "/" +
                             std::to_string(record.sw_build) + " for " + ToUtf8(record.vehicle_make) + " " +
                             ToUtf8(record.vehicle_model) + ", " +
                             (context_.hidInstall == 1 ? "HID bootloader" : "update volume"));
    }
    const bool done = context_.ftpDone.load(std::memory_order_acquire);
    if (done && !transferDone_) {
        const std::int32_t result = context_.ftpResult.load(std::memory_order_relaxed);
        if (result != FTP_OK) {
            if (state == MS_WAIT_FLASH || state == MS_START_FLASH) {
                Write("install", "flashing run failed");
            } else {
                const FtpEndpoint& server = context_.endpoints.ftp;
                const std::string where = server.scheme == "file" ? "file://" + server.basePath
                                                                  : server.scheme + "://" + server.host +
                                                                        ":" + std::to_string(server.port);
                Write("transfer", std::string(TransferResultName(result)) + ": " + where + " " +
                                      ToUtf8(context_.remotePath));
            }
        }
    }
    transferDone_ = done;
}
