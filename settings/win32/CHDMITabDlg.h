#pragma once
// The HDMI settings host (template 165, "Settings") of the TN7931R: the HDMI camera page and the
// overlay page.
#include "settings/win32/CHDMIV2SettingsDlg.h"
#include "settings/win32/SettingsTabHost.h"

class CHDMITabDlg : public SettingsTabHost {
  public:
    CHDMITabDlg(const SettingsServices& services, HINSTANCE instance, HWND owner);

    CHDMIV2SettingsDlg& VideoPage() { return videoPage_; }

  protected:
    void FillVideoPage() override;
    SettingsOutcome ApplyVideoPage() override;

  private:
    CHDMIV2SettingsDlg videoPage_;
};
