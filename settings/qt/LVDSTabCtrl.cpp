#include "settings/qt/LVDSTabCtrl.h"

#include "settings/qt/CLVDSSettingDlg.h"
#include "ui_settings_lvds_host.h"

LVDSTabCtrl::LVDSTabCtrl(const SettingsServices& services, QWidget* parent)
    : SettingsTabHost(services, parent), ui_(std::make_unique<Ui::LVDSTabCtrl>()) {
    ui_->setupUi(this);
    videoPage_ = new CLVDSSettingDlg(services, ui_->videoTab);
    ui_->videoTabLayout->addWidget(videoPage_);
    Bind(ui_->IDC_1030, ui_->IDC_1011, ui_->IDC_2, ui_->overlayTabLayout);
}

LVDSTabCtrl::~LVDSTabCtrl() = default;

void LVDSTabCtrl::FillVideoPage() {
    videoPage_->SetModelCode(modelCode_);
    videoPage_->Fill();
}

SettingsOutcome LVDSTabCtrl::ApplyVideoPage() {
    return videoPage_->Apply();
}
