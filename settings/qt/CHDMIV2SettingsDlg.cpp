#include "settings/qt/CHDMIV2SettingsDlg.h"

#include <QEvent>

#include "app/UpdaterContext.h"
#include "settings/qt/WrappedPageFit.h"
#include "ui_settings_hdmi_page.h"

namespace {
constexpr int kPageColumns = 100;  // width of the page in average characters
}

CHDMIV2SettingsDlg::CHDMIV2SettingsDlg(const SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services), ui_(std::make_unique<Ui::CHDMIV2SettingsDlg>()) {
    ui_->setupUi(this);
    FitWrappedPage(this, kPageColumns);
    groupAButtons_ = RadioGroup{ui_->IDC_1056, ui_->IDC_1057};
}

CHDMIV2SettingsDlg::~CHDMIV2SettingsDlg() = default;

void CHDMIV2SettingsDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        FitWrappedPage(this, kPageColumns);
    }
    QWidget::changeEvent(event);
}

HdmiPageControls CHDMIV2SettingsDlg::ReadControls() const {
    HdmiPageControls controls;
    controls.hdmi = ReadState(ui_->IDC_1068);
    controls.aftermarket = {ReadState(ui_->IDC_1069), ReadState(ui_->IDC_1071), ReadState(ui_->IDC_1015),
                            ReadState(ui_->IDC_1016)};
    controls.factoryRear = ReadState(ui_->IDC_1070);
    controls.groupA = groupA_;
    controls.syncPolarity = ReadState(ui_->IDC_1039);
    controls.syncOnGreen = ReadState(ui_->IDC_1040);
    controls.parkingLines = ReadState(ui_->IDC_1036);
    return controls;
}

void CHDMIV2SettingsDlg::ShowControls(const HdmiPageControls& controls) {
    ShowState(ui_->IDC_1068, controls.hdmi);
    QCheckBox* const aftermarket[] = {ui_->IDC_1069, ui_->IDC_1071, ui_->IDC_1015, ui_->IDC_1016};
    for (CameraPosition position : kCameraPositions) {
        ShowState(aftermarket[Index(position)], controls.aftermarket[Index(position)]);
    }
    ShowState(ui_->IDC_1070, controls.factoryRear);
    groupA_ = controls.groupA;
    groupAButtons_.Show(groupA_);
    ShowState(ui_->IDC_1039, controls.syncPolarity);
    ShowState(ui_->IDC_1040, controls.syncOnGreen);
    ShowState(ui_->IDC_1036, controls.parkingLines);
}

void CHDMIV2SettingsDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    HdmiPageControls controls = ReadControls();
    FillHdmiPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome CHDMIV2SettingsDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    HdmiPageControls controls = ReadControls();
    controls.groupA = groupAButtons_.Read();
    const SettingsOutcome outcome = ApplyHdmiPage(*services_.context, controls);
    // A refused apply leaves the page's selection as it was.
    if (!outcome.Refused()) {
        groupA_ = controls.groupA;
    }
    return outcome;
}
