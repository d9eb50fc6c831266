#include "settings/win32/LVDSTabCtrl.h"

#include "resources/win32/settings_ids.h"

LVDSTabCtrl::LVDSTabCtrl(const SettingsServices& services, HINSTANCE instance, HWND owner)
    : SettingsTabHost(services, instance, IDD_LVDS_HOST, owner), videoPage_(services, instance, Handle()) {
    AttachVideoPage(videoPage_);
}

void LVDSTabCtrl::FillVideoPage() {
    videoPage_.SetModelCode(modelCode_);
    videoPage_.Fill();
}

SettingsOutcome LVDSTabCtrl::ApplyVideoPage() {
    return videoPage_.Apply();
}
