#pragma once
// Fill and apply of the text-overlay page (template 108, class OSDSettingsDlg), tab 1 of both
// tabbed hosts. Per camera position an enable box and a caption list ("Rear Camera" / "Input 1").
// The fill ticks boxes whose pair is non-zero and never unticks one, so a tick from an earlier
// showing survives a pair of 00 and the next apply writes 01 for it.
#include <array>

#include "config/OverlayConfig.h"
#include "settings/Controls.h"
#include "settings/SettingsRequests.h"

struct UpdaterContext;

namespace OverlayPageIds {
constexpr std::array<int, 4> ENABLE{1032, 1033, 1040, 1034};  // rear, front, left, right
constexpr std::array<int, 4> CAPTION{1035, 1036, 1037, 1038};
}  // namespace OverlayPageIds

enum OverlayCaptionItem { CAPTION_CAMERA_NAME = 0, CAPTION_INPUT_NAME = 1 };

struct OverlayPageControls {
    std::array<CheckBoxState, 4> enable;  // by CameraPosition
    std::array<ComboBoxState, 4> caption;
};

void FillOverlayPage(const OverlayConfig& overlay, OverlayPageControls& controls);
// Writes the four enable pairs (01/00), the four caption pairs (11/00) and the fixed parameter
// bytes 10 07 70; everything else of the block stays as read.
void ApplyOverlayPage(const OverlayPageControls& controls, OverlayConfig& overlay);

// With the page's rules on overlayWritePending: the fill clears it, the apply sets it (and stores
// the block) unless an install runs.
void FillOverlayPage(UpdaterContext& ctx, OverlayPageControls& controls);
SettingsOutcome ApplyOverlayPage(UpdaterContext& ctx, const OverlayPageControls& controls);
