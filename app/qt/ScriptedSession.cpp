#include "app/qt/ScriptedSession.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <iostream>

#include "app/qt/CInstallDlg.h"
#include "app/qt/CKioDlg.h"
#include "sim/demo/DemoMachine.h"

namespace {
template <typename T>
T* Control(QWidget& window, const char* name) {
    return window.findChild<T*>(name);
}
}  // namespace

ScriptedSession::ScriptedSession(CKioDlg& window, DemoMachine& machine, QWidget& controls, QString outputDir)
    : window_(window), machine_(machine), controls_(controls), outputDir_(std::move(outputDir)) {
    CInstallDlg& progress = window_.InstallDialog();
    auto text = [this](const char* name) { return Control<QLineEdit>(window_, name)->text(); };
    auto enabled = [this](const char* name) { return Control<QWidget>(window_, name)->isEnabled(); };
    auto bar = [&progress] { return progress.findChild<QProgressBar*>("IDC_1017")->value(); };

    steps_ = {
        {"unplug the interface before the first connect", [] { return true; }, [this] { machine_.Unplug(); }},
        {"no interface", [this] { return After(2500); }, [this] { Save("01-no-interface"); }},
        {"plug the interface", [] { return true; }, [this] { machine_.Plug(); }},
        {"connected and identified", [=] { return enabled("IDC_1006") && !text("IDC_1021").isEmpty(); },
         [this] { Save("02-connected"); }},
        {"search", [this] { return After(500); },
         [this] { Control<QPushButton>(window_, "IDC_1006")->click(); }},
        {"pick a result", [this] { return Control<QLabel>(window_, "IDC_1007")->text().contains("found"); },
         [this] { ClickResultRow(2); }},
        {"search results", [this] { return After(400); }, [this] { Save("03-search-results"); }},
        {"install", [this] { return After(300); },
         [this] { Control<QPushButton>(window_, "IDC_1013")->click(); }},
        {"install in progress", [=] { return bar() >= 31 && bar() < 39; },
         [this] { Save("04-install-progress"); }},
        {"install finished", [&progress] { return progress.windowTitle() == "Successfully finished"; },
         [this] { Save("05-install-finished"); }},
        {"close the progress dialog", [this] { return After(300); },
         [&progress] { progress.findChild<QPushButton*>("IDC_1")->click(); }},
        {"search again", [this, enabled] { return After(500) && enabled("IDC_1006"); },
         [this] { Control<QPushButton>(window_, "IDC_1006")->click(); }},
        {"pick another result",
         [this] { return Control<QLabel>(window_, "IDC_1007")->text().contains("found"); },
         [this] { ClickResultRow(5); }},
        {"install again, failing", [this] { return After(400); },
         [this] {
             machine_.SetFailFlash(true);
             Control<QPushButton>(window_, "IDC_1013")->click();
         }},
        {"failed install", [&progress] { return progress.windowTitle() == "Aborted"; },
         [this] { Save("06-install-failed"); }},
    };
    poll_.setInterval(100);
    connect(&poll_, &QTimer::timeout, this, &ScriptedSession::Tick);
}

void ScriptedSession::Start() {
    stepClock_.start();
    poll_.start();
}

void ScriptedSession::Tick() {
    AnswerOpenMessageBox();
    if (current_ >= steps_.size()) {
        poll_.stop();
        window_.close();
        return;
    }
    Step& step = steps_[current_];
    if (step.ready()) {
        std::cerr << "session: " << step.what.toStdString() << "\n";
        step.action();
        ++current_;
        stepClock_.restart();
    } else if (stepClock_.elapsed() > step.timeoutMs) {
        std::cerr << "session: timed out waiting for: " << step.what.toStdString() << "\n";
        Save("timeout-" + QString::number(current_));
        exitCode_ = 1;
        current_ = steps_.size();
    }
}

// The session answers questions it did not plan for with their default, so it never hangs.
void ScriptedSession::AnswerOpenMessageBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
        return;
    }
    std::cerr << "session: message: " << box->text().toStdString() << "\n";
    QAbstractButton* button = box->defaultButton();
    if (button == nullptr && !box->buttons().isEmpty()) {
        button = box->buttons().first();
    }
    if (button != nullptr) {
        button->click();
    }
}

void ScriptedSession::ClickResultRow(int row) {
    auto* table = Control<QTableWidget>(window_, "IDC_1001");
    row = qMin(row, table->rowCount() - 1);
    if (row < 0) {
        return;
    }
    table->scrollToItem(table->item(row, 0));
    const QPoint point = table->visualRect(table->model()->index(row, 0)).center();
    const QPoint global = table->viewport()->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(table->viewport(), &press);
    QCoreApplication::sendEvent(table->viewport(), &release);
}

// The main window with the dialogs open over it, each drawn with a title bar (the session runs
// without a window manager, which would draw them).
void ScriptedSession::Save(const QString& name) {
    constexpr int kTitleHeight = 30;
    constexpr int kMargin = 24;
    std::vector<QWidget*> windows{&window_};
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != &window_ && top != &controls_ && top->isVisible() && top->isWindow() &&
            top->windowType() != Qt::ToolTip && top->windowType() != Qt::Popup) {
            windows.push_back(top);
        }
    }
    QRect area;
    for (QWidget* top : windows) {
        area = area.united(top->geometry().adjusted(0, -kTitleHeight, 0, 0));
    }
    area.adjust(-kMargin, -kMargin, kMargin, kMargin);
    const qreal ratio = window_.devicePixelRatioF();
    QPixmap canvas(area.size() * ratio);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(QColor(0x4a, 0x5a, 0x6e));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    for (QWidget* top : windows) {
        const QRect frame = top->geometry().adjusted(0, -kTitleHeight, 0, 0).translated(-area.topLeft());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawRoundedRect(frame.adjusted(-2, -2, 6, 6), 8, 8);
        QLinearGradient bar(frame.topLeft(), frame.topLeft() + QPoint(0, kTitleHeight));
        bar.setColorAt(0, QColor(0x3b, 0x44, 0x50));
        bar.setColorAt(1, QColor(0x2b, 0x32, 0x3c));
        painter.setBrush(bar);
        painter.drawRoundedRect(QRect(frame.topLeft(), QSize(frame.width(), kTitleHeight + 8)), 6, 6);
        const QIcon icon = top->windowIcon();
        int textLeft = frame.left() + 10;
        if (!icon.isNull()) {
            icon.paint(&painter, QRect(frame.left() + 8, frame.top() + 6, 18, 18));
            textLeft += 24;
        }
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(QRect(textLeft, frame.top(), frame.width() - 20, kTitleHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, top->windowTitle());
        painter.drawPixmap(frame.topLeft() + QPoint(0, kTitleHeight), top->grab());
    }
    painter.end();
    QDir().mkpath(outputDir_);
    const QString file = QDir(outputDir_).filePath(name + ".png");
    if (!canvas.save(file)) {
        std::cerr << "session: cannot write " << file.toStdString() << "\n";
        exitCode_ = 1;
    }
}
