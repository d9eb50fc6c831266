#include "settings/win32/CHDMIV2SettingsDlg.h"

#include "app/UpdaterContext.h"
#include "resources/win32/settings_ids.h"

namespace ids = HdmiPageIds;

CHDMIV2SettingsDlg::CHDMIV2SettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND host)
    : services_(services) {
    Create(instance, IDD_HDMI_PAGE, host);
}

HdmiPageControls CHDMIV2SettingsDlg::ReadControls() const {
    HdmiPageControls controls;
    controls.hdmi = ReadCheckBox(Handle(), ids::HDMI);
    for (CameraPosition position : kCameraPositions) {
        controls.aftermarket[Index(position)] = ReadCheckBox(Handle(), ids::AFTERMARKET[Index(position)]);
    }
    controls.factoryRear = ReadCheckBox(Handle(), ids::FACTORY_REAR);
    controls.groupA = groupA_;
    controls.syncPolarity = ReadComboBox(Handle(), ids::SYNC_POLARITY);
    controls.syncOnGreen = ReadCheckBox(Handle(), ids::SYNC_ON_GREEN);
    controls.parkingLines = ReadCheckBox(Handle(), ids::PARKING_LINES);
    return controls;
}

void CHDMIV2SettingsDlg::ShowControls(const HdmiPageControls& controls) {
    ShowState(Handle(), ids::HDMI, controls.hdmi);
    for (CameraPosition position : kCameraPositions) {
        ShowState(Handle(), ids::AFTERMARKET[Index(position)], controls.aftermarket[Index(position)]);
    }
    ShowState(Handle(), ids::FACTORY_REAR, controls.factoryRear);
    groupA_ = controls.groupA;
    groupAButtons_.Show(Handle(), groupA_);
    ShowState(Handle(), ids::SYNC_POLARITY, controls.syncPolarity);
    ShowState(Handle(), ids::SYNC_ON_GREEN, controls.syncOnGreen);
    ShowState(Handle(), ids::PARKING_LINES, controls.parkingLines);
}

void CHDMIV2SettingsDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    HdmiPageControls controls = ReadControls();
    FillHdmiPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome CHDMIV2SettingsDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    HdmiPageControls controls = ReadControls();
    controls.groupA = groupAButtons_.Read(Handle());
    const SettingsOutcome outcome = ApplyHdmiPage(*services_.context, controls);
    // A refused apply leaves the page's selection as it was.
    if (!outcome.Refused()) {
        groupA_ = controls.groupA;
    }
    return outcome;
}
