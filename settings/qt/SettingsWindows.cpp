#include "settings/qt/SettingsWindows.h"

#include "app/UpdaterContext.h"
#include "settings/qt/CFeaturesDlg.h"
#include "settings/qt/CGMVIMSettingsDlg.h"
#include "settings/qt/CHDMISettingsDlg.h"
#include "settings/qt/CHDMITabDlg.h"
#include "settings/qt/CSettingsDlg.h"
#include "settings/qt/LVDSTabCtrl.h"
#include "settings/qt/RefusalMessage.h"

namespace {
// An open window is brought to the front; a hidden one is shown (on top, as new windows are).
void ShowOrRaise(QDialog* window) {
    if (window->isVisible()) {
        window->raise();
        window->activateWindow();
    } else {
        window->show();
    }
}
}  // namespace

SettingsWindows::SettingsWindows(QWidget* mainWindow) : ownsWindows_(mainWindow == nullptr) {
    // Created hidden: a top-level QDialog is not shown until asked.
    videoSettings_ = new CSettingsDlg(services_, mainWindow);
    hdmiSettings_ = new CHDMISettingsDlg(services_, mainWindow);
    vimSettings_ = new CGMVIMSettingsDlg(services_, mainWindow);
    features_ = new CFeaturesDlg(services_, mainWindow);
    lvdsHost_ = new LVDSTabCtrl(services_, mainWindow);
    hdmiHost_ = new CHDMITabDlg(services_, mainWindow);
}

SettingsWindows::~SettingsWindows() {
    if (ownsWindows_) {
        delete hdmiHost_;
        delete lvdsHost_;
        delete features_;
        delete vimSettings_;
        delete hdmiSettings_;
        delete videoSettings_;
    }
}

FeatureResultPort& SettingsWindows::FeatureResults() {
    return *features_;
}

QDialog* SettingsWindows::Window(SettingsWindow window) const {
    switch (window) {
        case SettingsWindow::VideoSettings:
            return videoSettings_;
        case SettingsWindow::HdmiSettings:
            return hdmiSettings_;
        case SettingsWindow::VimSettings:
            return vimSettings_;
        case SettingsWindow::LvdsHost:
            return lvdsHost_;
        case SettingsWindow::HdmiHost:
            return hdmiHost_;
        case SettingsWindow::None:
            break;
    }
    return nullptr;
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
    QDialog* window = Window(choice.window);
    if (window != nullptr) {
        // Showing a window that is already open neither refills it nor resets its tab.
        ShowOrRaise(window);
    }
    return choice.window;
}

void SettingsWindows::OnFeatureActivation() {
    if (services_.Bound() && ShowRefusal(services_, StartFeatureActivation(*services_.context))) {
        return;
    }
    ShowOrRaise(features_);
}
