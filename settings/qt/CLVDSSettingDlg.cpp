#include "settings/qt/CLVDSSettingDlg.h"

#include <QEvent>

#include "app/UpdaterContext.h"
#include "settings/qt/WrappedPageFit.h"
#include "ui_settings_lvds_page.h"

namespace {
constexpr int kPageColumns = 100;  // width of the page in average characters
}

CLVDSSettingDlg::CLVDSSettingDlg(const SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services), ui_(std::make_unique<Ui::CLVDSSettingDlg>()) {
    ui_->setupUi(this);
    FitWrappedPage(this, kPageColumns);
    groupAButtons_ = RadioGroup{ui_->IDC_1056, ui_->IDC_1057};
    groupBButtons_ = RadioGroup{ui_->IDC_1058, ui_->IDC_1064, ui_->IDC_1065};
}

CLVDSSettingDlg::~CLVDSSettingDlg() = default;

void CLVDSSettingDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        FitWrappedPage(this, kPageColumns);
    }
    QWidget::changeEvent(event);
}

LvdsPageControls CLVDSSettingDlg::ReadControls() const {
    LvdsPageControls controls;
    controls.modelCode = modelCode_;
    controls.hdmi = ReadState(ui_->IDC_1012);
    controls.aftermarket = {ReadState(ui_->IDC_1013), ReadState(ui_->IDC_1068), ReadState(ui_->IDC_1015),
                            ReadState(ui_->IDC_1016)};
    controls.factory = {ReadState(ui_->IDC_1017), ReadState(ui_->IDC_1018), ReadState(ui_->IDC_1019),
                        ReadState(ui_->IDC_1020)};
    controls.groupA = groupA_;
    controls.groupB = groupB_;
    return controls;
}

void CLVDSSettingDlg::ShowControls(const LvdsPageControls& controls) {
    ShowState(ui_->IDC_1012, controls.hdmi);
    QCheckBox* const aftermarket[] = {ui_->IDC_1013, ui_->IDC_1068, ui_->IDC_1015, ui_->IDC_1016};
    QCheckBox* const factory[] = {ui_->IDC_1017, ui_->IDC_1018, ui_->IDC_1019, ui_->IDC_1020};
    for (CameraPosition position : kCameraPositions) {
        ShowState(aftermarket[Index(position)], controls.aftermarket[Index(position)]);
        ShowState(factory[Index(position)], controls.factory[Index(position)]);
    }
    groupA_ = controls.groupA;
    groupB_ = controls.groupB;
    groupAButtons_.Show(groupA_);
    groupBButtons_.Show(groupB_);
}

void CLVDSSettingDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    LvdsPageControls controls = ReadControls();
    FillLvdsPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome CLVDSSettingDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    // The user's radio choice becomes the page's selection only when the page is applied.
    LvdsPageControls controls = ReadControls();
    controls.groupA = groupAButtons_.Read();
    controls.groupB = groupBButtons_.Read();
    const SettingsOutcome outcome = ApplyLvdsPage(*services_.context, controls);
    if (!outcome.Refused()) {
        groupA_ = controls.groupA;
        groupB_ = controls.groupB;
    }
    return outcome;
}
