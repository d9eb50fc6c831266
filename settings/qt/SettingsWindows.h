#pragma once
// The settings windows and the features dialog of the main window, created once, hidden and
// modeless, in this order: video settings (CSettingsDlg), HDMI settings (CHDMISettingsDlg), video in
// motion (CGMVIMSettingsDlg), features (CFeaturesDlg), LVDS host (LVDSTabCtrl), HDMI host
// (CHDMITabDlg). They live as long as the main window, whose children they are.
//
// How the main window uses it:
//
//   // CKioDlg initialisation, right after the install progress dialog:
//   settings_ = std::make_unique<SettingsWindows>(this);
//   // the program is built with settings_->FeatureResults() as its FeatureResultPort; then:
//   settings_->Bind(SettingsServices{&program.Context(), &messages,
//                                    [&] { /* IssueCommand read-overlay (13, 0) */ }, &labels});
//   // Settings button (1035) clicked:            settings_->OnSettingsButton();
//   // Feature Activation button (1048) clicked:  settings_->OnFeatureActivation();
//
// OnFeatureActivation stores MS_IDLE and sets featureReadRequest itself, exactly as the program's
// own OnFeatureActivation does, so calling both is harmless. While an install runs neither the
// Settings button nor Feature Activation opens a window: the user is told why. Window thread only.
#include <QObject>
#include <memory>

#include "settings/SettingsChoice.h"
#include "settings/SettingsEntry.h"
#include "settings/SettingsServices.h"

class QWidget;
class QDialog;
class CSettingsDlg;
class CHDMISettingsDlg;
class CGMVIMSettingsDlg;
class CFeaturesDlg;
class LVDSTabCtrl;
class CHDMITabDlg;
class FeatureResultPort;

class SettingsWindows final : public SettingsEntry {
  public:
    explicit SettingsWindows(QWidget* mainWindow);
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

    QDialog* Window(SettingsWindow window) const;
    CSettingsDlg& VideoSettings() const { return *videoSettings_; }
    CHDMISettingsDlg& HdmiSettings() const { return *hdmiSettings_; }
    CGMVIMSettingsDlg& VimSettings() const { return *vimSettings_; }
    CFeaturesDlg& Features() const { return *features_; }
    LVDSTabCtrl& LvdsHost() const { return *lvdsHost_; }
    CHDMITabDlg& HdmiHost() const { return *hdmiHost_; }

  private:
    SettingsServices services_;
    // Owned by the main window as its children; null parents are owned here.
    CSettingsDlg* videoSettings_ = nullptr;
    CHDMISettingsDlg* hdmiSettings_ = nullptr;
    CGMVIMSettingsDlg* vimSettings_ = nullptr;
    CFeaturesDlg* features_ = nullptr;
    LVDSTabCtrl* lvdsHost_ = nullptr;
    CHDMITabDlg* hdmiHost_ = nullptr;
    bool ownsWindows_ = false;
};
