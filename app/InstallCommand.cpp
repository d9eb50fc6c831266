// The Install command and the image preparation it shares with the upgrade route.
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

ControllerState MainController::PrepareInstall(bool loadImageDetails) {
    context_.imagePrepared = false;
    context_.identityReadIssued = false;
    context_.hidInstall = operations_.HasHidBootloader() ? 1 : 0;
    if (context_.hidInstall == 0)
        return MS_CHECK_AVAILABILITY;
    if (loadImageDetails && !operations_.LoadImageDetails())
        return MS_DOWNLOAD_FAILED;
    context_.imagePrepared = operations_.FetchImage() == 0;
    return context_.imagePrepared ? MS_CHECK_AVAILABILITY : MS_DOWNLOAD_FAILED;
}
