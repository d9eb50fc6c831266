#include "settings/qt/CHDMITabDlg.h"

#include "settings/qt/CHDMIV2SettingsDlg.h"
#include "ui_settings_hdmi_host.h"

CHDMITabDlg::CHDMITabDlg(const SettingsServices& services, QWidget* parent)
    : SettingsTabHost(services, parent), ui_(std::make_unique<Ui::CHDMITabDlg>()) {
    ui_->setupUi(this);
    videoPage_ = new CHDMIV2SettingsDlg(services, ui_->videoTab);
    ui_->videoTabLayout->addWidget(videoPage_);
    Bind(ui_->IDC_1030, ui_->IDC_1011, ui_->IDC_2, ui_->overlayTabLayout);
}

CHDMITabDlg::~CHDMITabDlg() = default;

void CHDMITabDlg::FillVideoPage() {
    videoPage_->Fill();
}

SettingsOutcome CHDMITabDlg::ApplyVideoPage() {
    return videoPage_->Apply();
}
