#pragma once
// Which settings window the main window's "Settings" button opens for a hardware model, and what
// it does first. A model code outside the table opens nothing.
#include <string_view>

struct UpdaterContext;

enum class SettingsWindow {
    None,
    VideoSettings,  // template 146, CSettingsDlg
    HdmiSettings,   // template 149, CHDMISettingsDlg
    VimSettings,    // template 150, CGMVIMSettingsDlg
    LvdsHost,       // template 107, LVDSTabCtrl
    HdmiHost,       // template 165, CHDMITabDlg
};

struct SettingsChoice {
    SettingsWindow window = SettingsWindow::None;
    bool clearOverlayReceived = false;  // before anything else
    bool requestOverlay = false;        // read-overlay (0x65) through the command dispatcher
    bool handModelCode = false;         // the LVDS host keeps the code for its camera page
    std::u16string_view refusal;        // why no window opens now (shown in a warning box)
};

SettingsChoice ChooseSettingsWindow(std::u16string_view mfgId);

// Applies the choice's flag to the context: clears overlayReceived when the window needs a new
// overlay block. The caller then issues the read-overlay request (when asked) and shows the window.
// While an install runs no window opens and nothing is asked of the interface, whose replies the
// install is waiting for; the choice then carries the refusal.
SettingsChoice PrepareSettingsWindow(UpdaterContext& ctx);
