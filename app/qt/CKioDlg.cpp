#include "app/qt/CKioDlg.h"

#include <QAction>
#include <QMouseEvent>
#include <QShortcut>

#include "app/WindowCommands.h"
#include "app/qt/CAboutDlg.h"
#include "app/qt/CInstallDlg.h"
#include "app/qt/KeyFilter.h"
#include "app/qt/QtMessageBoxes.h"
#include "app/qt/SearchPanelWidgets.h"
#include "app/qt/StatusTooltip.h"
#include "app/qt/WindowResources.h"
#include "app/qt/WindowTimers.h"
#include "resources/Strings.h"
#include "settings/qt/SettingsWindows.h"
#include "ui_MainWindow.h"

namespace {
// The window's size in dialog units, converted with the font so that it scales with it.
constexpr int kWidthDialogUnits = 405;
constexpr int kHeightDialogUnits = 368;

QSize DialogUnitsToPixels(const QFontMetrics& metrics, int width, int height) {
    const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const int baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    const int baseY = metrics.height();
    return {width * baseX / 4, height * baseY / 8};
}
}  // namespace

CKioDlg::CKioDlg(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ui_(std::make_unique<Ui::MainWindow>()) {
    EnsureWindowResources();
    ui_->setupUi(this);
    setObjectName("CKioDlg");
    setModal(false);
    // The icon number is itself a string of the table.
    const int iconNumber = LoadText(resource::IDS_ICON_NUMBER).toInt();
    setWindowIcon(LoadIcon(iconNumber));

    messagePort_ = std::make_unique<QtMessageBoxes>(this);
    messages_ = messagePort_.get();
    searchPanel_ = std::make_unique<SearchPanelWidgets>(
        SearchWidgets{ui_->IDC_1002, ui_->IDC_1003, ui_->IDC_1004, ui_->IDC_1005, ui_->IDC_1007,
                      ui_->IDC_1001, ui_->IDC_1013});
    timers_ = new WindowTimers(this);

    SetUpTexts();
    SetUpAboutEntry();
    tooltip_ = new StatusTooltip(ui_->IDC_1024, Text(resource::kUsbStatusTooltip), resource::kTooltipMaxWidth,
                                 resource::kTooltipHideDelayMs);
    SetUpChildren();
    keyFilter_ = new KeyFilter(this);
    ConnectHandlers();
    resize(DialogUnitsToPixels(fontMetrics(), kWidthDialogUnits, kHeightDialogUnits).expandedTo(sizeHint()));
}

CKioDlg::~CKioDlg() {
    Teardown();
}

void CKioDlg::SetUpTexts() {
    setWindowTitle(LoadText(resource::IDS_WINDOW_TITLE));
    ui_->IDC_1008->setTitle(LoadText(resource::IDS_DEVICE_GROUP));
}

void CKioDlg::SetUpAboutEntry() {
    const QString aboutText = LoadText(resource::IDS_ABOUTBOX);
    if (aboutText.isEmpty()) {
        return;
    }
    // Linux window menus cannot be extended: the entry sits in the window's own context menu
    // (right click on the window) and on F1.
    auto* about = new QAction(aboutText, this);
    about->setObjectName("aboutAction");
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, [this] { OnSysCommand(resource::IDM_ABOUTBOX); });
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    addAction(separator);
    addAction(about);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CKioDlg::SetUpChildren() {
    installDlg_ = new CInstallDlg(this);
    CreateSettingsDialogs();
    SetStatusIcon(ICON_USB_DISCONNECTED);
    SetStatusText(FromQString(Text(resource::kDeviceDisconnected)));
    searchPanel_->SetUpResultList();
    ui_->IDC_1006->setIcon(LoadIcon(resource::IDI_MAGNIFIER));
    ui_->IDC_1013->setIcon(LoadIcon(resource::IDI_CHIP_INSTALL));
    ui_->warningIcon->setPixmap(LoadIconPixmap(resource::IDI_WARNING, 64));
    ui_->IDC_1029->setIcon(LoadIcon(resource::IDI_INFORMATION));
}

void CKioDlg::CreateSettingsDialogs() {
    // After the install progress dialog: video settings, HDMI settings, video in motion,
    // features, LVDS host, HDMI host, all hidden.
    settings_ = std::make_unique<SettingsWindows>(this);
}

void CKioDlg::ConnectHandlers() {
    timers_->SetHandler([this](int timerId) {
        if (commands_ != nullptr) {
            commands_->OnTimer(timerId);
        }
    });
    auto forward = [this](void (WindowCommands::*command)()) {
        return [this, command] {
            if (commands_ != nullptr) {
                (commands_->*command)();
            }
        };
    };
    connect(ui_->IDC_1006, &QPushButton::clicked, this, forward(&WindowCommands::OnSearch));
    connect(ui_->IDC_1013, &QPushButton::clicked, this, forward(&WindowCommands::OnInstall));
    connect(ui_->IDC_1048, &QPushButton::clicked, this, forward(&WindowCommands::OnFeatureActivation));
    connect(ui_->IDC_1035, &QPushButton::clicked, this, forward(&WindowCommands::OnSettings));
    connect(ui_->IDC_1002, &QComboBox::activated, this, forward(&WindowCommands::OnMakeSelected));
    connect(ui_->IDC_1029, &QToolButton::clicked, this, &CKioDlg::ShowIdentityMessage);
    // A row chosen with the keyboard counts as a click on it, so Install acts on the row shown.
    connect(ui_->IDC_1001, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!searchPanel_->Updating() && ui_->IDC_1001->hasFocus() && row >= 0) {
            ResultClicked(row);
        }
    });
    ui_->IDC_1001->viewport()->installEventFilter(this);
}

bool CKioDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->IDC_1001->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            ResultClicked(ui_->IDC_1001->indexAt(mouse->position().toPoint()).row());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CKioDlg::ResultClicked(int row) {
    if (commands_ != nullptr) {
        commands_->OnResultClicked(row);
    }
}

void CKioDlg::ShowIdentityMessage() {
    if (commands_ != nullptr) {
        messages_->Show(commands_->IdentitySummary(), MessageIcon::None, MessageButtons::Ok);
    }
}

MessagePort& CKioDlg::Messages() {
    return *messagePort_;
}

void CKioDlg::Bind(WindowCommands* commands) {
    commands_ = commands;
}

void CKioDlg::Teardown() {
    if (tornDown_) {
        return;
    }
    tornDown_ = true;
    timers_->StopAll();
    if (commands_ != nullptr) {
        commands_->OnWindowDestroyed();
    }
    commands_ = nullptr;
}

void CKioDlg::CloseWithOk() {
    done(QDialog::Accepted);
}

void CKioDlg::OnSysCommand(int command) {
    if (command == resource::IDM_ABOUTBOX) {
        CAboutDlg about(makerWebAddress_, this);
        about.exec();
    }
}

void CKioDlg::SetStatusIcon(StatusIcon icon) {
    statusIcon_ = icon;
    ui_->IDC_1024->setIcon(LoadIcon(icon));
}

void CKioDlg::SetVehicleText(const std::u16string& text) {
    ui_->IDC_1020->setText(ToQString(text));
}

std::u16string CKioDlg::VehicleText() const {
    return FromQString(ui_->IDC_1020->text());
}

void CKioDlg::SetFeaturesText(const std::u16string& text) {
    ui_->IDC_1021->setText(ToQString(text));
    ui_->IDC_1021->setCursorPosition(0);
}

void CKioDlg::SetStatusText(const std::u16string& text) {
    ui_->IDC_1022->setText(ToQString(text));
}

void CKioDlg::ShowSettingsButton(bool shown) {
    ui_->IDC_1035->setVisible(shown);
}

void CKioDlg::EnableSettingsButton(bool enabled) {
    ui_->IDC_1035->setEnabled(enabled);
}

void CKioDlg::ShowFeatureButton(bool shown) {
    ui_->IDC_1048->setVisible(shown);
}

void CKioDlg::EnableFeatureButton(bool enabled) {
    ui_->IDC_1048->setEnabled(enabled);
}

void CKioDlg::EnableVehicleLists(bool enabled) {
    ui_->IDC_1002->setEnabled(enabled);
    ui_->IDC_1003->setEnabled(enabled);
    ui_->IDC_1004->setEnabled(enabled);
    ui_->IDC_1005->setEnabled(enabled);
}

void CKioDlg::EnableSearch(bool enabled) {
    ui_->IDC_1006->setEnabled(enabled);
}
