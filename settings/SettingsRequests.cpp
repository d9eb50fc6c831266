#include "settings/SettingsRequests.h"

#include "app/UpdaterContext.h"
#include "settings/SettingsTexts.h"

SettingsOutcome CheckSettingsChange(const UpdaterContext& ctx) {
    if (ctx.installRunning())
        return {settings_texts::kSettingsDuringInstall};
    return {};
}

namespace {
SettingsOutcome CheckFeatureProgramming(const UpdaterContext& ctx) {
    if (ctx.installRunning())
        return {settings_texts::kFeaturesDuringInstall};
    return {};
}
}  // namespace

SettingsOutcome RequestConfigWrite(UpdaterContext& ctx, const DeviceConfig& edited) {
    const SettingsOutcome outcome = CheckSettingsChange(ctx);
    if (!outcome.Refused()) {
        ctx.deviceConfig = edited;
        ctx.configWritePending = true;
    }
    return outcome;
}

SettingsOutcome RequestOverlayWrite(UpdaterContext& ctx, const OverlayConfig& edited) {
    const SettingsOutcome outcome = CheckSettingsChange(ctx);
    if (!outcome.Refused()) {
        ctx.overlayConfig = edited;
        ctx.overlayWritePending = true;
    }
    return outcome;
}

SettingsOutcome StartFeatureActivation(UpdaterContext& ctx) {
    const SettingsOutcome outcome = CheckFeatureProgramming(ctx);
    if (!outcome.Refused()) {
        ctx.mainState = MS_IDLE;
        ctx.featureReadRequest = true;
    }
    return outcome;
}

SettingsOutcome RequestFeatureWrite(UpdaterContext& ctx, std::uint8_t featureBits) {
    const SettingsOutcome outcome = CheckFeatureProgramming(ctx);
    if (!outcome.Refused()) {
        ctx.featureBits = featureBits;
        ctx.featureWriteRequest = true;
    }
    return outcome;
}
