#pragma once
// "Device video settings" (template 146): four video inputs, parking lines, video in motion and
// sync, for the WE5540R. Its Accept also puts the controller into its idle state.
#include "resources/win32/settings_ids.h"
#include "settings/win32/VideoInputDialog.h"

class CSettingsDlg : public VideoInputDialog {
  public:
    CSettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND owner)
        : VideoInputDialog(services, VideoDialog::Video146, instance, IDD_VIDEO_SETTINGS, owner) {}
};
