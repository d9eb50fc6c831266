// The install sequence: from the availability check through the flashing or the file copy, the
// interface's restart, the catalogue record and the configuration stamp to the final lookup.
#include <string>

#include "app/ControllerTexts.h"
#include "app/MainController.h"

namespace {
constexpr int kBarDownloading = 26;
constexpr unsigned kBarFlashSpan = 13;  // the bar runs from 26 to 39 while the engine writes
// Three minutes of the main timer for the interface's restart with its new software.
constexpr std::int32_t kRestartWaitTicks = 3 * 60 * 1000 / MAIN_TIMER_PERIOD_MS;

std::u16string FlashProgressText(std::int32_t percent) {
    std::u16string text = u"Downloading software ";
    for (char c : std::to_string(percent))
        text.push_back(static_cast<char16_t>(c));
    return text + u"% completed";
}
}  // namespace

void MainController::CheckAvailability() {
    if (context_.hidInstall == 1) {
        Next(context_.iUsbConnectSts == USB_BOOTLOADER ? MS_START_ENGINE : MS_REBOOT);
        return;
    }
    Step(texts::kStepAvailability, 0);
    Request(REQ_FTP_CHECK);
    Next(MS_WAIT_AVAILABILITY);
}

// The FTP worker and the flashing engine both finish with ftpResult, then ftpDone.
void MainController::WaitTransfer(ControllerState succeeded, ControllerState failed) {
    if (!context_.ftpDone.load(std::memory_order_acquire))
        return;
    Next(context_.ftpResult.load(std::memory_order_relaxed) == FTP_OK ? succeeded : failed);
}

// An interface already present as its update volume is not rebooted.
void MainController::Reboot() {
    if (context_.iUsbConnectSts != USB_MASS_STORAGE) {
        Step(texts::kStepRebooting, 13);
        Request(REQ_REBOOT);
        context_.iUsbConnectSts = USB_NOT_CONNECTED;
    }
    Next(MS_WAIT_LOADER);
}

// The rebooted interface comes back as its update volume or in its bootloader. For a flashing run
// the writer stops (the engine writes its own reports) and the reader keeps going, since the
// engine advances only on the replies it decodes.
void MainController::WaitLoader() {
    const std::int32_t mode = context_.iUsbConnectSts;
    if (mode == USB_MASS_STORAGE) {
        ShowLinkStatus();
        Next(MS_VOLUME_READY);
    } else if (mode == USB_BOOTLOADER || (mode == USB_APPLICATION && context_.hidInstall == 1)) {
        context_.iUsbConnectSts = USB_BOOTLOADER;
        operations_.StopReportWriter();
        ShowLinkStatus();
        context_.bootProbeActive = false;
        Next(MS_START_ENGINE);
    }
}

// The engine runs only on an image that was fetched and checked for this install; the image is
// used up by the run.
void MainController::StartEngine() {
    if (!context_.imagePrepared) {
        Next(MS_DOWNLOAD_FAILED);
        return;
    }
    context_.imagePrepared = false;
    Request(REQ_START_ENGINE);
    Next(MS_START_FLASH);
}

void MainController::DownloadFile() {
    Step(texts::kStepDownloading, kBarDownloading);
    Request(REQ_FTP_DOWNLOAD);
    Next(MS_WAIT_DOWNLOAD);
}

void MainController::StartFlash() {
    Step(texts::kStepDownloading, kBarDownloading);
    Request(REQ_START_FLASH);
    Next(MS_WAIT_FLASH);
}

void MainController::FollowFlash() {
    const std::int32_t progress = context_.flashProgress.load(std::memory_order_relaxed);
    if (progress == context_.shownPercent)
        return;
    context_.shownPercent = progress;
    const unsigned bar = kBarDownloading + static_cast<unsigned>(progress) * kBarFlashSpan / 100u;
    Step(FlashProgressText(progress), static_cast<int>(bar));
}

void MainController::WaitInit() {
    Step(texts::kStepWaitInit, 39);
    context_.restartWaitTicks = 0;
    Next(MS_WAIT_APPLICATION);
}

// An interface that does not come back (it refused the new software, or it was unplugged) would
// otherwise be waited for without end; after a generous bound the install ends as failed.
void MainController::WaitApplication() {
    if (context_.iUsbConnectSts == USB_APPLICATION) {
        Next(MS_UPDATE_DATABASE);
    } else if (++context_.restartWaitTicks > kRestartWaitTicks) {
        Next(MS_UPDATE_FAILED);
    }
}

void MainController::UpdateDatabase() {
    ShowLinkStatus();
    Step(texts::kStepDatabase, 52);
    Next(MS_START_RECORD);
}

// The record is keyed by the interface's controller id. An interface that came up in its
// bootloader or as its update volume has not told it yet, so it is read first; otherwise the
// install would be reported as recorded while no row was changed.
void MainController::StartRecord() {
    if (!context_.identityKnown) {
        if (!context_.identityReadIssued) {
            context_.identityReadIssued = true;
            Request(REQ_READ_CONFIG);
            return;
        }
        const std::int32_t status = context_.replyStatus;
        if (status != STATUS_READ_OK && status != STATUS_READ_ERROR)
            return;
        context_.identityReadIssued = false;
        if (status == STATUS_READ_ERROR) {
            Next(MS_VERIFY_FAILED);
            return;
        }
        context_.identityKnown = true;
    }
    operations_.StartDatabaseWorker(DB_OP_RECORD_INSTALL);
    Next(MS_WAIT_RECORD);
}

void MainController::WaitRecord() {
    const std::int32_t result = context_.dbResult.load(std::memory_order_acquire);
    if (result == DB_DONE) {
        Next(MS_UPDATE_MEMORY);
    } else if (result == DB_FAILED) {
        FinishAborted(texts::kErrorDatabase);
        Next(MS_RECORD_FAILED);
    }
}

void MainController::WaitConfigRead(ControllerState read) {
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_READ_OK) {
        context_.identityKnown = true;
        ShowDeviceInfo(INFO_IDENTITY);
        Next(read);
    } else if (status == STATUS_READ_ERROR) {
        Next(MS_VERIFY_FAILED);
    }
}

void MainController::WaitConfigWrite() {
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_WRITE_OK) {
        Next(MS_VERIFY_MEMORY);
    } else if (status == STATUS_WRITE_ERROR) {
        FinishAborted(texts::kErrorMemory);
        Next(MS_WRITE_FAILED);
    }
}

void MainController::CheckIntegrity() {
    Step(texts::kStepIntegrity, 91);
    StartWorker(DB_OP_CURRENT_SOFTWARE, MS_WAIT_INTEGRITY);
}

void MainController::WaitIntegrity() {
    const std::int32_t result = context_.dbResult.load(std::memory_order_acquire);
    if (result == DB_DONE) {
        ShowDeviceInfo(INFO_SOFTWARE);
        Next(MS_INSTALLED);
    } else if (result == DB_FAILED) {
        Next(MS_UPDATE_FAILED);
    }
}

void MainController::Installed() {
    Step(texts::kStepInstalled, 100);
    ports_.progress.ShowOutcome(true);
    operations_.JournalInstallEnd(true, texts::kStepInstalled);
    Next(MS_IDLE);
}
