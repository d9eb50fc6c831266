#pragma once
// The LVDS settings host (template 107, "Settings"): the LVDS camera page and the overlay page.
// It keeps the model code of the interface it was opened for and hands it to the camera page
// before every fill.
#include <string>

#include "settings/win32/CLVDSSettingDlg.h"
#include "settings/win32/SettingsTabHost.h"

class LVDSTabCtrl : public SettingsTabHost {
  public:
    LVDSTabCtrl(const SettingsServices& services, HINSTANCE instance, HWND owner);

    void SetModelCode(const std::u16string& modelCode) { modelCode_ = modelCode; }
    const std::u16string& ModelCode() const { return modelCode_; }
    CLVDSSettingDlg& VideoPage() { return videoPage_; }

  protected:
    void FillVideoPage() override;
    SettingsOutcome ApplyVideoPage() override;

  private:
    CLVDSSettingDlg videoPage_;
    std::u16string modelCode_;
};
