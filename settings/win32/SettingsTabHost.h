#pragma once
// The common body of the two tabbed settings hosts (LVDSTabCtrl, CHDMITabDlg): a tab control
// (1030) with the camera page ("VIDEO INPUT SETTINGS") and the overlay page ("VIDEO INPUT TEXT
// OVERLAY SETTINGS"), both child dialogs of the host placed over the tab control's body. Showing
// the host selects the camera tab and fills it; turning to the overlay tab refills the camera page
// (dropping its unaccepted edits) and fills the overlay page, or, without a received overlay
// block, returns to the camera tab with "OSD Settings Not Supported"; Accept (1011) applies only
// the selected tab's page; Cancel hides the host. Window thread only.
#include <memory>

#include "settings/SettingsRequests.h"
#include "settings/SettingsServices.h"
#include "settings/TabHostLogic.h"
#include "settings/win32/DialogWindow.h"

class OSDSettingsDlg;

class SettingsTabHost : public DialogWindow {
  public:
    ~SettingsTabHost() override;

    HWND Tabs() const { return Control(TabHostIds::TAB_CONTROL); }
    OSDSettingsDlg& OverlayPage() const { return *overlayPage_; }
    HostTab SelectedTab() const;

  protected:
    SettingsTabHost(const SettingsServices& services, HINSTANCE instance, int templateId, HWND owner);
    // The subclass's camera page, created as a child of Handle(); placed and shown here.
    void AttachVideoPage(DialogWindow& page);

    void OnShowing() override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(const NMHDR& header) override;

    virtual void FillVideoPage() = 0;
    virtual SettingsOutcome ApplyVideoPage() = 0;

    const SettingsServices& services_;

  private:
    void PlacePage(HWND page) const;
    void ShowPageOf(HostTab tab);
    void SelectTab(HostTab tab);
    void OnTabChanged();
    void OnAccept();

    PageRect pageRect_;
    DialogWindow* videoPage_ = nullptr;
    std::unique_ptr<OSDSettingsDlg> overlayPage_;
};
