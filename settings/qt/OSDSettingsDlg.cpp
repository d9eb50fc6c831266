#include "settings/qt/OSDSettingsDlg.h"

#include <QEvent>

#include "app/UpdaterContext.h"
#include "settings/qt/ControlBinding.h"
#include "settings/qt/WrappedPageFit.h"
#include "ui_settings_osd_page.h"

namespace {
constexpr int kPageColumns = 90;  // width of the page in average characters
}

OSDSettingsDlg::OSDSettingsDlg(const SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services), ui_(std::make_unique<Ui::OSDSettingsDlg>()) {
    ui_->setupUi(this);
    FitWrappedPage(this, kPageColumns);
}

OSDSettingsDlg::~OSDSettingsDlg() = default;

void OSDSettingsDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        FitWrappedPage(this, kPageColumns);
    }
    QWidget::changeEvent(event);
}

OverlayPageControls OSDSettingsDlg::ReadControls() const {
    OverlayPageControls controls;
    controls.enable = {ReadState(ui_->IDC_1032), ReadState(ui_->IDC_1033), ReadState(ui_->IDC_1040),
                       ReadState(ui_->IDC_1034)};
    controls.caption = {ReadState(ui_->IDC_1035), ReadState(ui_->IDC_1036), ReadState(ui_->IDC_1037),
                        ReadState(ui_->IDC_1038)};
    return controls;
}

void OSDSettingsDlg::ShowControls(const OverlayPageControls& controls) {
    QCheckBox* const enable[] = {ui_->IDC_1032, ui_->IDC_1033, ui_->IDC_1040, ui_->IDC_1034};
    QComboBox* const caption[] = {ui_->IDC_1035, ui_->IDC_1036, ui_->IDC_1037, ui_->IDC_1038};
    for (CameraPosition position : kCameraPositions) {
        ShowState(enable[Index(position)], controls.enable[Index(position)]);
        ShowState(caption[Index(position)], controls.caption[Index(position)]);
    }
}

void OSDSettingsDlg::Fill() {
    if (!services_.Bound()) {
        return;
    }
    OverlayPageControls controls = ReadControls();
    FillOverlayPage(*services_.context, controls);
    ShowControls(controls);
}

SettingsOutcome OSDSettingsDlg::Apply() {
    if (!services_.Bound()) {
        return {};
    }
    return ApplyOverlayPage(*services_.context, ReadControls());
}
