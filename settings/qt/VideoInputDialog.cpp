#include "settings/qt/VideoInputDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>

#include "app/UpdaterContext.h"
#include "settings/DialogActions.h"
#include "settings/qt/ControlBinding.h"
#include "settings/qt/RefusalMessage.h"

VideoInputDialog::VideoInputDialog(const SettingsServices& services, VideoDialog kind, QWidget* parent)
    : QDialog(parent), services_(services), kind_(kind) {
    setModal(false);
}

void VideoInputDialog::Bind(const Widgets& widgets) {
    widgets_ = widgets;
    connect(widgets_.accept, &QPushButton::clicked, this, &VideoInputDialog::OnAccept);
    connect(widgets_.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void VideoInputDialog::showEvent(QShowEvent* event) {
    // Restoring a minimised window is not a new showing.
    if (!event->spontaneous()) {
        Fill();
    }
    QDialog::showEvent(event);
}

VideoInputControls VideoInputDialog::ReadControls() const {
    VideoInputControls controls;
    for (int i = 0; i < InputCount(kind_); ++i) {
        controls.inputs[static_cast<std::size_t>(i)] =
            ReadState(widgets_.inputs[static_cast<std::size_t>(i)]);
    }
    controls.syncPolarity = ReadState(widgets_.syncPolarity);
    controls.parkingLines = ReadState(widgets_.parkingLines);
    controls.videoInMotion = ReadState(widgets_.videoInMotion);
    controls.syncOnGreen = ReadState(widgets_.syncOnGreen);
    return controls;
}

void VideoInputDialog::ShowControls(const VideoInputControls& controls) {
    for (int i = 0; i < InputCount(kind_); ++i) {
        ShowState(widgets_.inputs[static_cast<std::size_t>(i)], controls.inputs[static_cast<std::size_t>(i)]);
    }
    ShowState(widgets_.syncPolarity, controls.syncPolarity);
    ShowState(widgets_.parkingLines, controls.parkingLines);
    ShowState(widgets_.videoInMotion, controls.videoInMotion);
    ShowState(widgets_.syncOnGreen, controls.syncOnGreen);
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
    accept();
}
