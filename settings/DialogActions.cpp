#include "settings/DialogActions.h"

#include "app/UpdaterContext.h"

SettingsOutcome AcceptVideoSettingsDialog(UpdaterContext& ctx, const VideoInputControls& controls,
                                          VideoDialog dialog) {
    DeviceConfig edited = ctx.deviceConfig;
    AcceptVideoInputs(controls, dialog, edited);
    const SettingsOutcome outcome = RequestConfigWrite(ctx, edited);
    // Storing idle is also the way out of a parked state; never while an install runs.
    if (!outcome.Refused() && dialog == VideoDialog::Video146) {
        ctx.mainState = MS_IDLE;
    }
    return outcome;
}

SettingsOutcome AcceptVimSettingsDialog(UpdaterContext& ctx, const VimControls& controls) {
    DeviceConfig edited = ctx.deviceConfig;
    AcceptVimSettings(controls, edited);
    return RequestConfigWrite(ctx, edited);
}
