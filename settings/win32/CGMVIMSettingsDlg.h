#pragma once
// "Device Settings" (template 150) of the QH7720R and QH772ER: one switch per camera input and
// one for video in motion. Created once, hidden and modeless; every showing fills it from the
// working copy, Accept stores the five ticks and asks for the configuration write, Cancel only
// hides it. Window thread only.
#include "settings/SettingsServices.h"
#include "settings/VimSettings.h"
#include "settings/win32/DialogWindow.h"

class CGMVIMSettingsDlg : public DialogWindow {
  public:
    CGMVIMSettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND owner);

  protected:
    void OnShowing() override;
    bool OnCommand(int id, int code) override;

  private:
    VimControls ReadControls() const;
    void ShowControls(const VimControls& controls);
    void OnAccept();

    const SettingsServices& services_;
};
