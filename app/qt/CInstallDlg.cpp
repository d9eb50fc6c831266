#include "app/qt/CInstallDlg.h"

#include <QCloseEvent>

#include "app/qt/KeyFilter.h"
#include "app/qt/WindowResources.h"
#include "resources/Strings.h"
#include "ui_InstallProgressDialog.h"

CInstallDlg::CInstallDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::InstallProgressDialog>()) {
    EnsureWindowResources();
    ui_->setupUi(this);
    setObjectName("CInstallDlg");
    setModal(false);
    keyFilter_ = new KeyFilter(this);
    connect(ui_->IDC_1, &QPushButton::clicked, this, &CInstallDlg::Hide);
    // Wide enough for the longest step text at any font size.
    const QFontMetrics metrics(font());
    setMinimumWidth(metrics.horizontalAdvance(ui_->labelDoNotDisconnect->text()) + 90);
    Reset();
}

CInstallDlg::~CInstallDlg() = default;

void CInstallDlg::Show() {
    if (isVisible()) {
        raise();
        activateWindow();
        return;  // already shown: nothing is reset
    }
    show();
    raise();
    activateWindow();
}

void CInstallDlg::Hide() {
    hide();
}

void CInstallDlg::ShowStep(const std::u16string& text, int percent) {
    ui_->IDC_1017->setValue(qBound(0, percent, 100));
    ui_->IDC_1018->setText(ToQString(text));
}

void CInstallDlg::ShowStepText(const std::u16string& text) {
    ui_->IDC_1018->setText(ToQString(text));
}

void CInstallDlg::ShowOutcome(bool succeeded) {
    SetStateIcon(succeeded ? resource::IDI_CHIP_SUCCESS : resource::IDI_CHIP_FAILURE);
    setWindowTitle(Text(succeeded ? resource::kSucceededTitle : resource::kAbortedTitle));
    ui_->IDC_1->setEnabled(true);
}

void CInstallDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Reset();
    }
    QDialog::showEvent(event);
}

void CInstallDlg::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        Reset();
    }
    QDialog::hideEvent(event);
}

void CInstallDlg::closeEvent(QCloseEvent* event) {
    // No close box; a window manager's close request acts like Close only once Close is enabled.
    if (ui_->IDC_1->isEnabled()) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

void CInstallDlg::Reset() {
    SetStateIcon(resource::IDI_CHIP_INSTALL);
    setWindowTitle(Text(resource::kInstallingTitle));
    ui_->IDC_1017->setRange(0, 100);
    ui_->IDC_1017->setValue(0);
    ui_->IDC_1->setEnabled(false);
}

void CInstallDlg::SetStateIcon(int id) {
    stateIcon_ = id;
    ui_->IDC_1028->setPixmap(LoadIconPixmap(id, 64));
}
