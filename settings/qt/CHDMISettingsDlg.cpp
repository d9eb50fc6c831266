#include "settings/qt/CHDMISettingsDlg.h"

#include "ui_settings_hdmi.h"

CHDMISettingsDlg::CHDMISettingsDlg(const SettingsServices& services, QWidget* parent)
    : VideoInputDialog(services, VideoDialog::Hdmi149, parent),
      ui_(std::make_unique<Ui::CHDMISettingsDlg>()) {
    ui_->setupUi(this);
    Widgets widgets;
    widgets.inputs = {ui_->IDC_1030, ui_->IDC_1031, nullptr, nullptr};
    widgets.syncPolarity = ui_->IDC_1039;
    widgets.parkingLines = ui_->IDC_1036;
    widgets.videoInMotion = ui_->IDC_1037;
    widgets.syncOnGreen = ui_->IDC_1040;
    widgets.accept = ui_->IDC_1029;
    widgets.cancel = ui_->IDC_2;
    Bind(widgets);
}

CHDMISettingsDlg::~CHDMISettingsDlg() = default;
