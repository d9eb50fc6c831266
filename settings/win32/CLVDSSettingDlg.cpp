#include "settings/win32/CLVDSSettingDlg.h"

#include "app/UpdaterContext.h"
#include "resources/win32/settings_ids.h"

namespace ids = LvdsPageIds;

CLVDSSettingDlg::CLVDSSettingDlg(const SettingsServices& services, HINSTANCE instance, HWND host)
    : services_(services) {
    Create(instance, IDD_LVDS_PAGE, host);
}

LvdsPageControls CLVDSSettingDlg::ReadControls() const {
    LvdsPageControls controls;
    controls.modelCode = modelCode_;
    controls.hdmi = ReadCheckBox(Handle(), ids::HDMI);
    for (CameraPosition position : kCameraPositions) {
        controls.aftermarket[Index(position)] = ReadCheckBox(Handle(), ids::AFTERMARKET[Index(position)]);
        controls.factory[Index(position)] = ReadCheckBox(Handle(), ids::FACTORY[Index(position)]);
    }
    controls.groupA = groupA_;
    controls.groupB = groupB_;
    return controls;
}

void CLVDSSettingDlg::ShowControls(const LvdsPageControls& controls) {
    ShowState(Handle(), ids::HDMI, controls.hdmi);
    for (CameraPosition position : kCameraPositions) {
        ShowState(Handle(), ids::AFTERMARKET[Index(position)], controls.aftermarket[Index(position)]);
        ShowState(Handle(), ids::FACTORY[Index(position)], controls.factory[Index(position)]);
    }
    groupA_ = controls.groupA;
    groupB_ = controls.groupB;
    groupAButtons_.Show(Handle(), groupA_);
    groupBButtons_.Show(Handle(), groupB_);
}

void CLVDSSettingDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    LvdsPageControls controls = ReadControls();
    FillLvdsPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome CLVDSSettingDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    // The user's radio choice becomes the page's selection only when the page is applied.
    LvdsPageControls controls = ReadControls();
    controls.groupA = groupAButtons_.Read(Handle());
    controls.groupB = groupBButtons_.Read(Handle());
    const SettingsOutcome outcome = ApplyLvdsPage(*services_.context, controls);
    if (!outcome.Refused()) {
        groupA_ = controls.groupA;
        groupB_ = controls.groupB;
    }
    return outcome;
}
