#include "settings/win32/SettingsWindows.h"

#include "app/UpdaterContext.h"
#include "settings/win32/CFeaturesDlg.h"
#include "settings/win32/CGMVIMSettingsDlg.h"
#include "settings/win32/CHDMISettingsDlg.h"
#include "settings/win32/CHDMITabDlg.h"
#include "settings/win32/CSettingsDlg.h"
#include "settings/win32/LVDSTabCtrl.h"
#include "settings/win32/RefusalMessage.h"

SettingsWindows::SettingsWindows(HWND mainWindow, HINSTANCE instance)
    : videoSettings_(std::make_unique<CSettingsDlg>(services_, instance, mainWindow)),
      hdmiSettings_(std::make_unique<CHDMISettingsDlg>(services_, instance, mainWindow)),
      vimSettings_(std::make_unique<CGMVIMSettingsDlg>(services_, instance, mainWindow)),
      features_(std::make_unique<CFeaturesDlg>(services_, instance, mainWindow)),
      lvdsHost_(std::make_unique<LVDSTabCtrl>(services_, instance, mainWindow)),
      hdmiHost_(std::make_unique<CHDMITabDlg>(services_, instance, mainWindow)) {}

SettingsWindows::~SettingsWindows() = default;

FeatureResultPort& SettingsWindows::FeatureResults() {
    return *features_;
}

DialogWindow* SettingsWindows::Dialog(SettingsWindow window) const {
    switch (window) {
        case SettingsWindow::VideoSettings:
            return videoSettings_.get();
        case SettingsWindow::HdmiSettings:
            return hdmiSettings_.get();
        case SettingsWindow::VimSettings:
            return vimSettings_.get();
        case SettingsWindow::LvdsHost:
            return lvdsHost_.get();
        case SettingsWindow::HdmiHost:
            return hdmiHost_.get();
        case SettingsWindow::None:
            break;
    }
    return nullptr;
}

HWND SettingsWindows::Window(SettingsWindow window) const {
    const DialogWindow* dialog = Dialog(window);
    return dialog != nullptr ? dialog->Handle() : nullptr;
}

HWND SettingsWindows::FeaturesWindow() const {
    return features_->Handle();
}

bool SettingsWindows::TranslateDialogMessage(MSG& message) {
    const DialogWindow* const all[] = {videoSettings_.get(), hdmiSettings_.get(), vimSettings_.get(),
                                       features_.get(),      lvdsHost_.get(),     hdmiHost_.get()};
    for (const DialogWindow* window : all) {
        const HWND dialog = window->Handle();
        if (window->Visible() && (message.hwnd == dialog || IsChild(dialog, message.hwnd))) {
            return IsDialogMessageW(dialog, &message) != FALSE;
        }
    }
    return false;
}

SettingsWindow SettingsWindows::OnSettingsButton() {
    if (!services_.Bound()) {
        return SettingsWindow::None;
    }
    const SettingsChoice choice = PrepareSettingsWindow(*services_.context);
    if (ShowRefusal(services_, SettingsOutcome{choice.refusal})) {
        return SettingsWindow::None;
    }
    if (choice.requestOverlay && services_.requestOverlayRead) {
        services_.requestOverlayRead();
    }
    if (choice.handModelCode) {
        lvdsHost_->SetModelCode(services_.context->mfg_id);
    }
    if (DialogWindow* window = Dialog(choice.window)) {
        // Showing a window that is already open neither refills it nor resets its tab.
        window->ShowOrRaise();
    }
    return choice.window;
}

void SettingsWindows::OnFeatureActivation() {
    if (services_.Bound() && ShowRefusal(services_, StartFeatureActivation(*services_.context))) {
        return;
    }
    features_->ShowOrRaise();
}
