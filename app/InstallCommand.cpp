// The Install command and the image preparation it shares with the upgrade route.
#include "app/ControllerTexts.h"
#include "app/MainController.h"

void MainController::OnInstall() {
    ports_.progress.Show();
    if (!operations_.LoadSelectedSoftware()) {
        Next(MS_DETAILS_FAILED);
        return;
    }
    Next(PrepareInstall(/*loadImageDetails=*/false));
    operations_.JournalInstallStart(/*upgrade=*/false);
}

// Without the catalogue's answer the route is unknown: guessing the update volume would reboot a
// HID model into a bootloader the copy cannot reach. The install ends before anything is sent.
ControllerState MainController::PrepareInstall(bool loadImageDetails) {
    context_.imagePrepared = false;
    context_.identityReadIssued = false;
    const HidBootloaderLookup lookup = operations_.LookUpHidBootloader();
    if (lookup.answer == HidBootloader::LookupFailed) {
        std::u16string text(texts::kErrorCatalogue);
        if (!lookup.driverMessage.empty())
            text += u": " + lookup.driverMessage;
        FinishAborted(text);
        return MS_IDLE;
    }
    context_.hidInstall = lookup.answer == HidBootloader::Present ? 1 : 0;
    // Both routes check the image against the catalogue's length and digest before the interface
    // gets it, so the upgrade entry brings them too.
    if (loadImageDetails && !operations_.LoadImageDetails())
        return MS_DOWNLOAD_FAILED;
    if (context_.hidInstall == 0)
        return MS_CHECK_AVAILABILITY;
    context_.imagePrepared = operations_.FetchImage() == 0;
    return context_.imagePrepared ? MS_CHECK_AVAILABILITY : MS_DOWNLOAD_FAILED;
}
