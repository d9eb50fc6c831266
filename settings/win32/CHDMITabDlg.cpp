#include "settings/win32/CHDMITabDlg.h"

#include "resources/win32/settings_ids.h"

CHDMITabDlg::CHDMITabDlg(const SettingsServices& services, HINSTANCE instance, HWND owner)
    : SettingsTabHost(services, instance, IDD_HDMI_HOST, owner), videoPage_(services, instance, Handle()) {
    AttachVideoPage(videoPage_);
}

void CHDMITabDlg::FillVideoPage() {
    videoPage_.Fill();
}

SettingsOutcome CHDMITabDlg::ApplyVideoPage() {
    return videoPage_.Apply();
}
