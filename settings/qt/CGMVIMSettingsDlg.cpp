#include "settings/qt/CGMVIMSettingsDlg.h"

#include <QShowEvent>

#include "app/UpdaterContext.h"
#include "settings/DialogActions.h"
#include "settings/qt/ControlBinding.h"
#include "settings/qt/RefusalMessage.h"
#include "ui_settings_vim.h"

CGMVIMSettingsDlg::CGMVIMSettingsDlg(const SettingsServices& services, QWidget* parent)
    : QDialog(parent), services_(services), ui_(std::make_unique<Ui::CGMVIMSettingsDlg>()) {
    ui_->setupUi(this);
    setModal(false);
    connect(ui_->IDC_1029, &QPushButton::clicked, this, &CGMVIMSettingsDlg::OnAccept);
    connect(ui_->IDC_2, &QPushButton::clicked, this, &QDialog::reject);
}

CGMVIMSettingsDlg::~CGMVIMSettingsDlg() = default;

void CGMVIMSettingsDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Fill();
    }
    QDialog::showEvent(event);
}

VimControls CGMVIMSettingsDlg::ReadControls() const {
    VimControls controls;
    controls.camera = {ReadState(ui_->IDC_1040), ReadState(ui_->IDC_1038), ReadState(ui_->IDC_1039),
                       ReadState(ui_->IDC_1041)};
    controls.videoInMotion = ReadState(ui_->IDC_1037);
    return controls;
}

void CGMVIMSettingsDlg::ShowControls(const VimControls& controls) {
    QCheckBox* const camera[] = {ui_->IDC_1040, ui_->IDC_1038, ui_->IDC_1039, ui_->IDC_1041};
    for (CameraPosition position : kCameraPositions) {
        ShowState(camera[Index(position)], controls.camera[Index(position)]);
    }
    ShowState(ui_->IDC_1037, controls.videoInMotion);
}

void CGMVIMSettingsDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    VimControls controls = ReadControls();
    FillVimSettings(services_.context->deviceConfig, controls);
    ShowControls(controls);
}

void CGMVIMSettingsDlg::OnAccept() {
    if (services_.Bound() &&
        ShowRefusal(services_, AcceptVimSettingsDialog(*services_.context, ReadControls()))) {
        return;  // the dialog stays open as it was
    }
    accept();
}
