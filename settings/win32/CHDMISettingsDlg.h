#pragma once
// "Device Settings" (template 149): two video inputs, parking lines, video in motion and sync, for
// the TN7581R and TN7580R.
#include "resources/win32/settings_ids.h"
#include "settings/win32/VideoInputDialog.h"

class CHDMISettingsDlg : public VideoInputDialog {
  public:
    CHDMISettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND owner)
        : VideoInputDialog(services, VideoDialog::Hdmi149, instance, IDD_HDMI_SETTINGS, owner) {}
};
