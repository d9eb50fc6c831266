#include "settings/qt/CFeaturesDlg.h"

#include <QShowEvent>

#include "app/UpdaterContext.h"
#include "app/qt/WindowResources.h"
#include "settings/qt/ControlBinding.h"
#include "settings/qt/RefusalMessage.h"
#include "ui_features.h"

namespace {
constexpr int kIconSize = 32;
}

CFeaturesDlg::CFeaturesDlg(const SettingsServices& services, QWidget* parent)
    : QDialog(parent), services_(services), ui_(std::make_unique<Ui::CFeaturesDlg>()) {
    ui_->setupUi(this);
    setModal(false);
    EnsureWindowResources();
    ui_->IDC_1063->setPixmap(LoadIconPixmap(ICON_READY, kIconSize));
    shownIcon_ = ICON_READY;
    // clicked, not toggled: only the user's clicks run the box rules.
    connect(ui_->IDC_1049, &QCheckBox::clicked, this, [this] { OnInputClicked(0); });
    connect(ui_->IDC_1051, &QCheckBox::clicked, this, [this] { OnInputClicked(1); });
    connect(ui_->IDC_1050, &QCheckBox::clicked, this, [this] { OnInputClicked(2); });
    connect(ui_->IDC_1058, &QCheckBox::clicked, this, &CFeaturesDlg::OnTurnOffClicked);
    connect(ui_->IDC_1055, &QPushButton::clicked, this, &CFeaturesDlg::OnAccept);
    connect(ui_->IDC_2, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->IDC_1, &QPushButton::clicked, this, &QDialog::accept);
}

CFeaturesDlg::~CFeaturesDlg() = default;

void CFeaturesDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        QueryLabels();
        ResetFeatureView(labels_, view_);
        ShowView();
    }
    QDialog::showEvent(event);
}

void CFeaturesDlg::QueryLabels() {
    if (!services_.Bound() || services_.labels == nullptr) {
        return;
    }
    // A failed query is silent and changes nothing.
    RefreshFeatureLabels(*services_.labels, services_.context->mcu_serial, labels_);
}

void CFeaturesDlg::ShowView() {
    QCheckBox* const inputs[] = {ui_->IDC_1049, ui_->IDC_1051, ui_->IDC_1050};
    for (std::size_t i = 0; i < 3; ++i) {
        inputs[i]->setText(ToQString(view_.inputTexts[i]));
        ShowState(inputs[i], view_.inputs[i]);
    }
    ShowState(ui_->IDC_1058, view_.turnOff);
    ui_->IDC_1055->setEnabled(view_.acceptEnabled);
    ui_->IDC_1060->setText(ToQString(view_.status));
    if (view_.icon != shownIcon_) {
        ui_->IDC_1063->setPixmap(LoadIconPixmap(view_.icon, kIconSize));
        shownIcon_ = view_.icon;
    }
    // An indeterminate bar (range 0..0) animates by itself while it is shown.
    ui_->IDC_1061->setVisible(view_.busy);
}

void CFeaturesDlg::ShowFeatureReadResult(const std::u16string& text, bool failed) {
    const std::uint8_t featureBits = services_.Bound() ? services_.context->featureBits : 0;
    ::ShowFeatureReadResult(view_, text, failed, featureBits);
    ShowView();
}

void CFeaturesDlg::ShowFeatureWriteResult(const std::u16string& text, bool failed) {
    ::ShowFeatureWriteResult(view_, text, failed);
    ShowView();
}

void CFeaturesDlg::OnInputClicked(int box) {
    OnFeatureInputClicked(view_, box);
    ShowView();
}

void CFeaturesDlg::OnTurnOffClicked() {
    ::OnTurnOffClicked(view_);
    ShowView();
}

void CFeaturesDlg::OnAccept() {
    if (services_.Bound() && ShowRefusal(services_, OnFeatureAccept(*services_.context, view_))) {
        return;  // nothing requested, the dialog as it was
    }
    ShowView();
}
