#include "settings/SettingsChoice.h"

#include "app/UpdaterContext.h"
#include "config/ModelCodes.h"
#include "settings/SettingsRequests.h"

SettingsChoice ChooseSettingsWindow(std::u16string_view mfgId) {
    if (mfgId == MODEL_WE5540R) {
        return {SettingsWindow::VideoSettings, false, false, false, {}};
    }
    if (mfgId == MODEL_TN7581R || mfgId == MODEL_TN7580R) {
        return {SettingsWindow::HdmiSettings, false, false, false, {}};
    }
    if (mfgId == MODEL_QH7720R || mfgId == MODEL_QH772ER) {
        return {SettingsWindow::VimSettings, false, false, false, {}};
    }
    if (mfgId == MODEL_QD7720R || mfgId == MODEL_QD772ER) {
        return {SettingsWindow::LvdsHost, true, false, true, {}};
    }
    if (mfgId == MODEL_WD7731R || mfgId == MODEL_WH7731R || mfgId == MODEL_WE5581R ||
        mfgId == MODEL_WJ7731R) {
        return {SettingsWindow::LvdsHost, true, true, true, {}};
    }
    if (mfgId == MODEL_TN7931R) {
        return {SettingsWindow::HdmiHost, true, true, false, {}};
    }
    return {};
}

SettingsChoice PrepareSettingsWindow(UpdaterContext& ctx) {
    if (const SettingsOutcome gate = CheckSettingsChange(ctx); gate.Refused()) {
        SettingsChoice refused;
        refused.refusal = gate.refusal;
        return refused;
    }
    const SettingsChoice choice = ChooseSettingsWindow(ctx.mfg_id);
    if (choice.clearOverlayReceived) {
        ctx.overlayReceived = false;
    }
    return choice;
}
