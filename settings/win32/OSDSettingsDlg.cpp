#include "settings/win32/OSDSettingsDlg.h"

#include "app/UpdaterContext.h"
#include "resources/win32/settings_ids.h"
#include "settings/win32/DialogControls.h"

namespace ids = OverlayPageIds;

OSDSettingsDlg::OSDSettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND host)
    : services_(services) {
    Create(instance, IDD_OVERLAY_PAGE, host);
}

OverlayPageControls OSDSettingsDlg::ReadControls() const {
    OverlayPageControls controls;
    for (CameraPosition position : kCameraPositions) {
        controls.enable[Index(position)] = ReadCheckBox(Handle(), ids::ENABLE[Index(position)]);
        controls.caption[Index(position)] = ReadComboBox(Handle(), ids::CAPTION[Index(position)]);
    }
    return controls;
}

void OSDSettingsDlg::ShowControls(const OverlayPageControls& controls) {
    for (CameraPosition position : kCameraPositions) {
        ShowState(Handle(), ids::ENABLE[Index(position)], controls.enable[Index(position)]);
        ShowState(Handle(), ids::CAPTION[Index(position)], controls.caption[Index(position)]);
    }
}

void OSDSettingsDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    OverlayPageControls controls = ReadControls();
    FillOverlayPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome OSDSettingsDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    return ApplyOverlayPage(*services_.context, ReadControls());
}
