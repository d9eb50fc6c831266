#include "settings/qt/CSettingsDlg.h"

#include "ui_settings_video.h"

CSettingsDlg::CSettingsDlg(const SettingsServices& services, QWidget* parent)
    : VideoInputDialog(services, VideoDialog::Video146, parent), ui_(std::make_unique<Ui::CSettingsDlg>()) {
    ui_->setupUi(this);
    Widgets widgets;
    widgets.inputs = {ui_->IDC_1030, ui_->IDC_1031, ui_->IDC_1032, ui_->IDC_1034};
    widgets.syncPolarity = ui_->IDC_1039;
    widgets.parkingLines = ui_->IDC_1036;
    widgets.videoInMotion = ui_->IDC_1037;
    widgets.syncOnGreen = ui_->IDC_1040;
    widgets.accept = ui_->IDC_1029;
    widgets.cancel = ui_->IDC_2;
    Bind(widgets);
}

CSettingsDlg::~CSettingsDlg() = default;
