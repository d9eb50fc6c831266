#pragma once
// The common body of the two tabbed settings hosts (LVDSTabCtrl, CHDMITabDlg): a tab control with
// the camera page ("VIDEO INPUT SETTINGS") and the overlay page ("VIDEO INPUT TEXT OVERLAY
// SETTINGS"). Showing the host selects the camera tab and fills it; turning to the overlay tab
// refills the camera page (dropping its unaccepted edits) and fills the overlay page, or, without
// a received overlay block, returns to the camera tab with "OSD Settings Not Supported"; Accept
// applies only the selected tab's page; Cancel hides the host. Window thread only.
#include <QDialog>

#include "settings/SettingsRequests.h"
#include "settings/TabHostLogic.h"
#include "settings/SettingsServices.h"

class OSDSettingsDlg;
class QPushButton;
class QShowEvent;
class QTabWidget;
class QVBoxLayout;

class SettingsTabHost : public QDialog {
    Q_OBJECT

  public:
    QTabWidget* Tabs() const { return tabs_; }
    OSDSettingsDlg* OverlayPage() const { return overlayPage_; }
    HostTab SelectedTab() const;

  protected:
    SettingsTabHost(const SettingsServices& services, QWidget* parent);
    // The host's controls from its layout; the overlay page is created into overlayTabLayout.
    void Bind(QTabWidget* tabs, QPushButton* accept, QPushButton* cancel, QVBoxLayout* overlayTabLayout);
    void showEvent(QShowEvent* event) override;

    virtual void FillVideoPage() = 0;
    virtual SettingsOutcome ApplyVideoPage() = 0;

    const SettingsServices& services_;

  private:
    void SelectTab(HostTab tab);
    void OnTabChanged(int index);
    void OnAccept();

    QTabWidget* tabs_ = nullptr;
    OSDSettingsDlg* overlayPage_ = nullptr;
    bool selectingTab_ = false;  // the host's own selection is no user tab change
};
