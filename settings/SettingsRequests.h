#pragma once
// The requests that the settings windows, the features dialog and the command line hand to the
// controller: a settings or overlay write, the Feature Activation command and a feature write.
//
// None of them is taken while an install runs. The install reads the interface's record, stamps
// the new vehicle into it and reads it back; a settings write in between would be lost or would
// overwrite the stamp, and a stored state would drop the install half way. A refused request
// stores nothing (no working copy, no pending flag, no state); the front end tells the user the
// refusal text (warning box, OK button) and leaves its window as it was.
#include <cstdint>
#include <string_view>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"

struct UpdaterContext;

struct SettingsOutcome {
    std::u16string_view refusal;  // empty when the request was taken

    bool Refused() const { return !refusal.empty(); }
};

// Whether a settings change may go ahead now, without storing anything.
SettingsOutcome CheckSettingsChange(const UpdaterContext& ctx);

// An accepted edit: edited becomes the working copy and its write is requested (configWritePending
// or overlayWritePending), for the controller's idle state to send.
SettingsOutcome RequestConfigWrite(UpdaterContext& ctx, const DeviceConfig& edited);
SettingsOutcome RequestOverlayWrite(UpdaterContext& ctx, const OverlayConfig& edited);

// The Feature Activation command: the controller goes idle and reads the feature byte.
SettingsOutcome StartFeatureActivation(UpdaterContext& ctx);
// The features dialog's Accept: featureBits is the byte to program; its write is requested.
SettingsOutcome RequestFeatureWrite(UpdaterContext& ctx, std::uint8_t featureBits);
