#pragma once
// The text-overlay page (template 108), tab 1 of both tabbed hosts, so it exists twice; both
// edit the one overlay block of the shared context. It fills only when its host asks (after an
// overlay block has arrived) and applies on the host's Accept. Window thread only.
#include "settings/OverlayPage.h"
#include "settings/SettingsServices.h"
#include "settings/win32/DialogWindow.h"

class OSDSettingsDlg : public DialogWindow {
  public:
    OSDSettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND host);

    void Fill();
    // Refused (nothing stored) while an install runs.
    SettingsOutcome Apply();

  private:
    OverlayPageControls ReadControls() const;
    void ShowControls(const OverlayPageControls& controls);

    const SettingsServices& services_;
};
