#pragma once
// The HDMI camera page (template 163), tab 0 of the HDMI host: aftermarket cameras, the factory
// rear camera, the HDMI input, the front camera mode, sync options and parking lines. Filled by
// the host when shown, applied on its Accept; the radio selection lives in the page, the ticks in
// the boxes. Window thread only.
#include "settings/CameraPages.h"
#include "settings/SettingsServices.h"
#include "settings/win32/DialogControls.h"
#include "settings/win32/DialogWindow.h"

class CHDMIV2SettingsDlg : public DialogWindow {
  public:
    CHDMIV2SettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND host);

    void Fill();
    // Refused (nothing stored) while an install runs.
    SettingsOutcome Apply();

  private:
    HdmiPageControls ReadControls() const;
    void ShowControls(const HdmiPageControls& controls);

    const SettingsServices& services_;
    RadioGroupState groupA_;
    RadioGroup groupAButtons_{HdmiPageIds::GROUP_A[0], HdmiPageIds::GROUP_A[1]};
};
