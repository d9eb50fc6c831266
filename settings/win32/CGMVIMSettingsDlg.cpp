#include "settings/win32/CGMVIMSettingsDlg.h"

#include "app/UpdaterContext.h"
#include "resources/win32/settings_ids.h"
#include "settings/DialogActions.h"
#include "settings/win32/DialogControls.h"
#include "settings/win32/RefusalMessage.h"

namespace ids = VimSettingsIds;

CGMVIMSettingsDlg::CGMVIMSettingsDlg(const SettingsServices& services, HINSTANCE instance, HWND owner)
    : services_(services) {
    Create(instance, IDD_VIM_SETTINGS, owner);
}

void CGMVIMSettingsDlg::OnShowing() {
    if (!services_.Bound()) {
        return;
    }
    VimControls controls = ReadControls();
    FillVimSettings(services_.context->deviceConfig, controls);
    ShowControls(controls);
}

bool CGMVIMSettingsDlg::OnCommand(int id, int code) {
    if (id == ids::ACCEPT && code == BN_CLICKED) {
        OnAccept();
        return true;
    }
    return false;
}

VimControls CGMVIMSettingsDlg::ReadControls() const {
    VimControls controls;
    for (CameraPosition position : kCameraPositions) {
        controls.camera[Index(position)] = ReadCheckBox(Handle(), ids::CAMERA[Index(position)]);
    }
    controls.videoInMotion = ReadCheckBox(Handle(), ids::VIDEO_IN_MOTION);
    return controls;
}

void CGMVIMSettingsDlg::ShowControls(const VimControls& controls) {
    for (CameraPosition position : kCameraPositions) {
        ShowState(Handle(), ids::CAMERA[Index(position)], controls.camera[Index(position)]);
    }
    ShowState(Handle(), ids::VIDEO_IN_MOTION, controls.videoInMotion);
}

void CGMVIMSettingsDlg::OnAccept() {
    if (services_.Bound() &&
        ShowRefusal(services_, AcceptVimSettingsDialog(*services_.context, ReadControls()))) {
        return;  // the dialog stays open as it was
    }
    Hide();
}
