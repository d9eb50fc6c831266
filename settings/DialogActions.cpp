#include "settings/DialogActions.h"

#include "app/UpdaterContext.h"

void AcceptVideoSettingsDialog(UpdaterContext& ctx, const VideoInputControls& controls, VideoDialog dialog) {
    AcceptVideoInputs(controls, dialog, ctx.deviceConfig);
    ctx.configWritePending = true;
    if (dialog == VideoDialog::Video146) {
        ctx.mainState = MS_IDLE;
    }
}

void AcceptVimSettingsDialog(UpdaterContext& ctx, const VimControls& controls) {
    AcceptVimSettings(controls, ctx.deviceConfig);
    ctx.configWritePending = true;
}
