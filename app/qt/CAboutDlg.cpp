#include "app/qt/CAboutDlg.h"

#include "app/qt/WindowResources.h"
#include "resources/Strings.h"
#include "ui_AboutBox.h"

CAboutDlg::CAboutDlg(const QString& makerWebAddress, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::AboutBox>()) {
    EnsureWindowResources();
    ui_->setupUi(this);
    setObjectName("CAboutDlg");
    ui_->applicationIcon->setPixmap(LoadIconPixmap(resource::IDI_APPLICATION_ICON, 96));
    const QString address = makerWebAddress.toHtmlEscaped();
    ui_->IDC_1019->setText(QString("<a href=\"%1\">%2</a>").arg(address, Text(resource::kAboutLinkText)));
    ui_->IDC_1019->setToolTip(makerWebAddress);
    connect(ui_->IDC_2, &QPushButton::clicked, this, &QDialog::reject);
}

CAboutDlg::~CAboutDlg() = default;
