#pragma once
// The settings windows and the features dialog of the main window, created once, hidden and
// modeless, owned by the main window, in this order: video settings (CSettingsDlg), HDMI settings
// (CHDMISettingsDlg), video in motion (CGMVIMSettingsDlg), features (CFeaturesDlg), LVDS host
// (LVDSTabCtrl), HDMI host (CHDMITabDlg). They live as long as this object.
//
// How the main window uses it:
//
//   // CKioDlg initialisation, right after the install progress dialog:
//   settings_ = std::make_unique<SettingsWindows>(hwnd, instance);
//   // the program is built with settings_->FeatureResults() as its FeatureResultPort; then:
//   settings_->Bind(SettingsServices{&program.Context(), &messages,
//                                    [&] { /* IssueCommand read-overlay (13, 0) */ }, &labels});
//   // Settings button (1035) clicked:            settings_->OnSettingsButton();
//   // Feature Activation button (1048) clicked:  settings_->OnFeatureActivation();
//   // message loop:  if (!settings_->TranslateDialogMessage(msg)) { TranslateMessage; Dispatch }
//
// The templates come from resources/win32/settings.rc, linked into the program; common controls
// (tab control, progress bar) must have been initialised. OnFeatureActivation stores MS_IDLE and
// sets featureReadRequest itself, exactly as the program's own OnFeatureActivation does, so calling
// both is harmless. While an install runs neither the Settings button nor Feature Activation opens
// a window: the user is told why. Window thread only.
#include <windows.h>

#include <memory>

#include "settings/SettingsChoice.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsServices.h"

class DialogWindow;
class CSettingsDlg;
class CHDMISettingsDlg;
class CGMVIMSettingsDlg;
class CFeaturesDlg;
class LVDSTabCtrl;
class CHDMITabDlg;
class FeatureResultPort;

class SettingsWindows final : public SettingsEntry {
  public:
    SettingsWindows(HWND mainWindow, HINSTANCE instance);
    ~SettingsWindows();
    SettingsWindows(const SettingsWindows&) = delete;
    SettingsWindows& operator=(const SettingsWindows&) = delete;

    // Hands the windows what they work with; until then they fill and store nothing.
    void Bind(const SettingsServices& services) { services_ = services; }

    // The Settings button: picks the window by the interface's model code, asks for a new
    // overlay block where the window offers one, and shows the window. Returns the window shown
    // (SettingsWindow::None for an unknown model code, or while an install runs).
    SettingsWindow OnSettingsButton() override;
    // The Feature Activation button: the controller goes idle and reads the feature byte; the
    // features dialog opens (its showing runs the label query and resets it).
    void OnFeatureActivation() override;

    // The features dialog as the controller's result port; valid from construction on.
    FeatureResultPort& FeatureResults();

    HWND Window(SettingsWindow window) const;
    HWND FeaturesWindow() const;
    // For the main message loop: true when the message was for one of these dialogs and
    // IsDialogMessageW took it (keyboard navigation, Escape as Cancel).
    bool TranslateDialogMessage(MSG& message);

    CSettingsDlg& VideoSettings() const { return *videoSettings_; }
    CHDMISettingsDlg& HdmiSettings() const { return *hdmiSettings_; }
    CGMVIMSettingsDlg& VimSettings() const { return *vimSettings_; }
    CFeaturesDlg& Features() const { return *features_; }
    LVDSTabCtrl& LvdsHost() const { return *lvdsHost_; }
    CHDMITabDlg& HdmiHost() const { return *hdmiHost_; }

  private:
    DialogWindow* Dialog(SettingsWindow window) const;

    SettingsServices services_;
    std::unique_ptr<CSettingsDlg> videoSettings_;
    std::unique_ptr<CHDMISettingsDlg> hdmiSettings_;
    std::unique_ptr<CGMVIMSettingsDlg> vimSettings_;
    std::unique_ptr<CFeaturesDlg> features_;
    std::unique_ptr<LVDSTabCtrl> lvdsHost_;
    std::unique_ptr<CHDMITabDlg> hdmiHost_;
};
