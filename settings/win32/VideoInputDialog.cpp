#include "settings/win32/VideoInputDialog.h"

#include "app/UpdaterContext.h"
#include "settings/DialogActions.h"
#include "settings/win32/DialogControls.h"
#include "settings/win32/RefusalMessage.h"

namespace ids = VideoSettingsIds;

VideoInputDialog::VideoInputDialog(const SettingsServices& services, VideoDialog kind, HINSTANCE instance,
                                   int templateId, HWND owner)
    : services_(services), kind_(kind) {
    Create(instance, templateId, owner);
}

void VideoInputDialog::OnShowing() {
    Fill();
}

bool VideoInputDialog::OnCommand(int id, int code) {
    if (id == ids::ACCEPT && code == BN_CLICKED) {
        OnAccept();
        return true;
    }
    return false;
}

VideoInputControls VideoInputDialog::ReadControls() const {
    VideoInputControls controls;
    for (int i = 0; i < InputCount(kind_); ++i) {
        const auto index = static_cast<std::size_t>(i);
        controls.inputs[index] = ReadComboBox(Handle(), ids::INPUTS[index]);
    }
    controls.syncPolarity = ReadComboBox(Handle(), ids::SYNC_POLARITY);
    controls.parkingLines = ReadCheckBox(Handle(), ids::PARKING_LINES);
    controls.videoInMotion = ReadCheckBox(Handle(), ids::VIDEO_IN_MOTION);
    controls.syncOnGreen = ReadCheckBox(Handle(), ids::SYNC_ON_GREEN);
    return controls;
}

void VideoInputDialog::ShowControls(const VideoInputControls& controls) {
    for (int i = 0; i < InputCount(kind_); ++i) {
        const auto index = static_cast<std::size_t>(i);
        ShowState(Handle(), ids::INPUTS[index], controls.inputs[index]);
    }
    ShowState(Handle(), ids::SYNC_POLARITY, controls.syncPolarity);
    ShowState(Handle(), ids::PARKING_LINES, controls.parkingLines);
    ShowState(Handle(), ids::VIDEO_IN_MOTION, controls.videoInMotion);
    ShowState(Handle(), ids::SYNC_ON_GREEN, controls.syncOnGreen);
}

void VideoInputDialog::Fill() {
    if (!services_.Bound()) {
        return;
    }
    VideoInputControls controls = ReadControls();
    FillVideoInputs(services_.context->deviceConfig, kind_, controls);
    ShowControls(controls);
}

void VideoInputDialog::OnAccept() {
    if (services_.Bound() &&
        ShowRefusal(services_, AcceptVideoSettingsDialog(*services_.context, ReadControls(), kind_))) {
        return;  // the dialog stays open as it was
    }
    Hide();
}
