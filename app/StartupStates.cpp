// Start-up checks, connect, identification and the upgrade offer.
#include "app/ControllerTexts.h"
#include "app/MainController.h"

namespace {
constexpr std::size_t kWorkingDirectoryMax = 255;
}

void MainController::StartUp() {
    std::u16string directory = ports_.system.CurrentDirectory();
    if (directory.size() > kWorkingDirectoryMax)
        directory.resize(kWorkingDirectoryMax);
    context_.workingDirectory = directory;
    if (ports_.system.IsInternetConnected()) {
        Next(MS_PAUSE_1);
        return;
    }
    // Stored before the warning, so ticks during the message do nothing.
    Next(MS_NO_INTERNET);
    ports_.messages.Show(std::u16string(texts::kNoInternet), MessageIcon::Warning, MessageButtons::Ok);
}

void MainController::CheckOdbcDriver() {
    ports_.timer.Stop();
    if (operations_.OdbcDriverPresent()) {
        Next(MS_CONNECT);
    } else if (AskYesNo(texts::kInstallConnector, MessageIcon::Information)) {
        std::u16string installer =
            context_.workingDirectory + u"/" + std::u16string(texts::kConnectorInstaller);
        // Another exit code keeps the state, so the check and the question come again.
        if (ports_.system.RunConnectorInstaller(installer) == 0)
            Next(MS_CONNECT);
    } else {
        ports_.system.CloseMainWindow();
    }
    RestartMainTimer();
}

void MainController::Connect() {
    context_.identityKnown = false;
    operations_.ConnectInterface();
    if (context_.iUsbConnectSts == USB_APPLICATION) {
        ShowLinkStatus();
        operations_.FillVehicleLists();
        Next(MS_READ_CONFIG);
    } else {
        // An interface this user may not open: say so rather than "Device disconnected".
        if (!context_.deniedInterfacePath.empty())
            ShowLinkStatus();
        Next(MS_WAIT_CONNECT);
    }
}

void MainController::WaitConnect() {
    const std::int32_t mode = context_.iUsbConnectSts;
    if (mode == USB_APPLICATION) {
        ShowLinkStatus();
        operations_.FillVehicleLists();
        Next(MS_READ_CONFIG);
    } else if (mode == USB_BOOTLOADER || mode == USB_MASS_STORAGE) {
        context_.identityKnown = false;
        ShowLinkStatus();
        operations_.FillVehicleLists();
        ShowDeviceInfo(INFO_LOADER);
        Next(MS_IDLE);
    }
}

void MainController::WaitConfig() {
    const std::int32_t status = context_.replyStatus;
    if (status == STATUS_READ_OK) {
        context_.identityKnown = true;
        ShowDeviceInfo(INFO_IDENTITY);
        Next(MS_LOOKUP_SOFTWARE);
    } else if (status == STATUS_READ_ERROR) {
        Next(MS_CONFIG_FAILED);
    }
}

void MainController::WaitLookup() {
    const std::int32_t result = context_.dbResult.load(std::memory_order_acquire);
    if (result == DB_DONE) {
        ShowDeviceInfo(INFO_SOFTWARE);
        ports_.timer.Stop();
        bool upgrade = false;
        if (context_.softwareRecord.sw_valid_status == 0)
            upgrade = AskYesNo(texts::kObsoleteSoftware, MessageIcon::Warning);
        RestartMainTimer();
        Next(upgrade ? MS_LOAD_UPGRADE : MS_IDLE);
    } else if (result == DB_FAILED) {
        ports_.deviceArea.SetFeaturesText(std::u16string(texts::kNonAvailable));
        ports_.deviceArea.SetStatusText(std::u16string(texts::kNonAvailable));
        Next(MS_IDLE);
    }
}

void MainController::WaitUpgrade() {
    const std::int32_t result = context_.dbResult.load(std::memory_order_acquire);
    if (result == DB_DONE) {
        Next(context_.dbRowCount == 1 ? MS_START_UPGRADE : MS_NO_UPGRADE);
    } else if (result == DB_FAILED) {
        Next(MS_NO_UPGRADE);
    }
}

// The upgrade entry goes through the install sequence as a selected entry does; for a HID model
// its image length and digest are loaded with it, so the image is fetched and checked first.
void MainController::StartUpgrade() {
    ports_.progress.Show();
    Next(PrepareInstall(/*loadImageDetails=*/true));
    operations_.JournalInstallStart(/*upgrade=*/true);
}
