// The controller's tick: the state table and the helpers every state uses.
#include "app/MainController.h"

#include <string>

#include "app/ControllerTexts.h"

MainController::MainController(UpdaterContext& context, ControllerPorts ports,
                               ControllerOperations& operations)
    : context_(context), ports_(ports), operations_(operations) {}

// clang-format off
void MainController::RunMainState() {
    switch (context_.mainState) {
        // Start-up checks, connect and identification.
        case MS_START:                  StartUp(); break;
        case MS_NO_INTERNET:            break;
        case MS_PAUSE_1:                PauseTimer(); Next(MS_PAUSE_2); break;
        case MS_PAUSE_2:                PauseTimer(); Next(MS_CHECK_ODBC); break;
        case MS_CHECK_ODBC:             CheckOdbcDriver(); break;
        case MS_CONNECT:                Connect(); break;
        case MS_WAIT_CONNECT:           WaitConnect(); break;
        case MS_READ_CONFIG:            Request(REQ_READ_CONFIG); Next(MS_WAIT_CONFIG); break;
        case MS_WAIT_CONFIG:            WaitConfig(); break;
        case MS_CONFIG_FAILED:          break;
        case MS_LOOKUP_SOFTWARE:        StartWorker(DB_OP_CURRENT_SOFTWARE, MS_WAIT_LOOKUP); break;
        case MS_WAIT_LOOKUP:            WaitLookup(); break;
        case MS_LOAD_UPGRADE:           StartWorker(DB_OP_LOAD_UPGRADE, MS_WAIT_UPGRADE); break;
        case MS_WAIT_UPGRADE:           WaitUpgrade(); break;
        case MS_START_UPGRADE:          StartUpgrade(); break;
        case MS_NO_UPGRADE:             Next(MS_IDLE); break;

        // Idle: the settings and feature requests.
        case MS_IDLE:                   ServeRequests(); break;
        case MS_WAIT_CONFIG_WRITE:      WaitSettingsWrite(MS_CONFIG_WRITTEN, MS_CONFIG_WRITE_FAILED); break;
        case MS_CONFIG_WRITTEN:         ShowWriteResult(texts::kSettingsUpdated, MessageIcon::Information); break;
        case MS_CONFIG_WRITE_FAILED:    ShowWriteResult(texts::kSettingsWriteError, MessageIcon::Error); break;
        case MS_WAIT_FEATURE_READ:      WaitFeatureRead(); break;
        case MS_WAIT_FEATURE_WRITE:     WaitFeatureWrite(); break;
        case MS_POLL_PROGRAMMING:       PollProgramming(); break;
        case MS_FEATURE_WRITE_FAILED:   ShowFeatureWriteFailed(); break;
        case MS_WAIT_PROGRAMMING:       WaitProgramming(); break;
        case MS_WAIT_OSD_WRITE:         WaitSettingsWrite(MS_OSD_WRITTEN, MS_OSD_WRITE_FAILED); break;
        case MS_OSD_WRITTEN:            ShowWriteResult(texts::kOsdUpdated, MessageIcon::Information); break;
        case MS_OSD_WRITE_FAILED:       ShowWriteResult(texts::kOsdWriteError, MessageIcon::Error); break;

        // The install sequence.
        case MS_CHECK_AVAILABILITY:     CheckAvailability(); break;
        case MS_WAIT_AVAILABILITY:      WaitTransfer(MS_AVAILABLE, MS_NOT_AVAILABLE); break;
        case MS_AVAILABLE:              Next(MS_REBOOT); break;
        case MS_NOT_AVAILABLE:          FinishAborted(texts::kErrorNotFound); break;
        case MS_REBOOT:                 Reboot(); break;
        case MS_WAIT_LOADER:            WaitLoader(); break;
        case MS_VOLUME_READY:           Next(MS_DOWNLOAD_FILE); break;
        case MS_START_ENGINE:           StartEngine(); break;
        case MS_DOWNLOAD_FILE:          DownloadFile(); break;
        case MS_START_FLASH:            StartFlash(); break;
        case MS_WAIT_DOWNLOAD:          WaitTransfer(MS_WAIT_INIT, MS_DOWNLOAD_FAILED); break;
        case MS_WAIT_FLASH:             FollowFlash(); WaitTransfer(MS_WAIT_INIT, MS_DOWNLOAD_FAILED); break;
        case MS_WAIT_INIT:              WaitInit(); break;
        case MS_DOWNLOAD_FAILED:        FinishAborted(texts::kErrorDownload); Next(MS_IDLE); break;
        case MS_WAIT_APPLICATION:       WaitApplication(); break;
        case MS_UPDATE_DATABASE:        UpdateDatabase(); break;
        case MS_START_RECORD:           StartRecord(); break;
        case MS_WAIT_RECORD:            WaitRecord(); break;
        case MS_UPDATE_MEMORY:          Step(texts::kStepMemory, 65); Next(MS_READ_BEFORE_WRITE); break;
        case MS_RECORD_FAILED:          break;
        case MS_READ_BEFORE_WRITE:      Request(REQ_READ_CONFIG); Next(MS_WAIT_READ_BEFORE_WRITE); break;
        case MS_WAIT_READ_BEFORE_WRITE: WaitConfigRead(MS_WRITE_CONFIG); break;
        case MS_WRITE_CONFIG:           Request(REQ_WRITE_STAMPED_CONFIG); Next(MS_WAIT_WRITE_CONFIG); break;
        case MS_WAIT_WRITE_CONFIG:      WaitConfigWrite(); break;
        case MS_VERIFY_MEMORY:          Step(texts::kStepVerifyMemory, 78); Next(MS_READ_VERIFY); break;
        case MS_WRITE_FAILED:           break;
        case MS_READ_VERIFY:            Request(REQ_READ_CONFIG); Next(MS_WAIT_READ_VERIFY); break;
        case MS_WAIT_READ_VERIFY:       WaitConfigRead(MS_MEMORY_VERIFIED); break;
        case MS_MEMORY_VERIFIED:        Next(MS_CHECK_INTEGRITY); break;
        case MS_VERIFY_FAILED:          FinishAborted(texts::kErrorVerify); Next(MS_UPDATE_FAILED); break;
        case MS_CHECK_INTEGRITY:        CheckIntegrity(); break;
        case MS_WAIT_INTEGRITY:         WaitIntegrity(); break;
        case MS_INSTALLED:              Installed(); break;
        case MS_UPDATE_FAILED:          FinishAborted(texts::kErrorUpdate); break;
        case MS_DETAILS_FAILED:         break;
        default:                        break;
    }
}
// clang-format on

void MainController::RestartMainTimer() {
    ports_.timer.Restart();
}

void MainController::StartWorker(std::int32_t operation, ControllerState next) {
    operations_.StartDatabaseWorker(operation);
    Next(next);
}

void MainController::PauseTimer() {
    ports_.timer.Stop();
    RestartMainTimer();
}

void MainController::Request(CommandRequest request) {
    operations_.IssueCommand(request);
}

void MainController::Step(std::u16string_view text, int percent) {
    ports_.progress.ShowStep(std::u16string(text), percent);
}

void MainController::FinishAborted(std::u16string_view text) {
    ports_.progress.ShowStepText(std::u16string(text));
    ports_.progress.ShowOutcome(false);
    operations_.JournalInstallEnd(false, text);
}

bool MainController::AskYesNo(std::u16string_view text, MessageIcon icon) {
    return ports_.messages.Show(std::u16string(text), icon, MessageButtons::YesNo) == MessageAnswer::Yes;
}
