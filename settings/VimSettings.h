#pragma once
// Fill and accept of the video-in-motion dialog (template 150, class CGMVIMSettingsDlg, title
// "Device Settings") of the QH7720R and QH772ER. For these models the aftermarket bits of
// cameraFlags switch the four camera inputs on and off. The fill enables and ticks the boxes the
// record offers and never disables or unticks the others; accept stores all five ticks, enabled
// or not. "Rear Camera" is never enabled: it shows the record's bit and writes it back.
#include <array>

#include "config/DeviceConfig.h"
#include "settings/Controls.h"

namespace VimSettingsIds {
constexpr std::array<int, 4> CAMERA{1040, 1038, 1039, 1041};  // rear, front, left, right
constexpr int VIDEO_IN_MOTION = 1037;
constexpr int ACCEPT = 1029;
}  // namespace VimSettingsIds

struct VimControls {
    // Created disabled and unticked.
    std::array<CheckBoxState, 4> camera{{{false, false}, {false, false}, {false, false}, {false, false}}};
    CheckBoxState videoInMotion{false, false};
};

void FillVimSettings(const DeviceConfig& config, VimControls& controls);
// Stores the five ticks into the record; the caller then sets configWritePending.
void AcceptVimSettings(const VimControls& controls, DeviceConfig& config);
