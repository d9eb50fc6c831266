#pragma once
// The LVDS camera page (template 129), tab 0 of the LVDS host: installed aftermarket and factory
// cameras at four positions, the HDMI input and both camera activation modes. It has no buttons of
// its own; the host fills it when shown and applies it on Accept. The radio selections live in the
// page (as the record's last fill or apply left them), the ticks in the boxes. Window thread only.
#include <string>

#include "settings/CameraPages.h"
#include "settings/SettingsServices.h"
#include "settings/win32/DialogControls.h"
#include "settings/win32/DialogWindow.h"

class CLVDSSettingDlg : public DialogWindow {
  public:
    CLVDSSettingDlg(const SettingsServices& services, HINSTANCE instance, HWND host);

    // The model code of the interface the host was opened for; decides the HDMI box.
    void SetModelCode(const std::u16string& modelCode) { modelCode_ = modelCode; }
    // Fills the controls from the working copy (and drops a write not yet taken).
    void Fill();
    // Stores the controls into the working copy and requests the configuration write; refused
    // (nothing stored, the page as it was) while an install runs.
    SettingsOutcome Apply();

  private:
    LvdsPageControls ReadControls() const;
    void ShowControls(const LvdsPageControls& controls);

    const SettingsServices& services_;
    std::u16string modelCode_;
    RadioGroupState groupA_;
    RadioGroupState groupB_;
    RadioGroup groupAButtons_{LvdsPageIds::GROUP_A[0], LvdsPageIds::GROUP_A[1]};
    RadioGroup groupBButtons_{LvdsPageIds::GROUP_B[0], LvdsPageIds::GROUP_B[1], LvdsPageIds::GROUP_B[2]};
};
