// The main window as created: every control with its id, text and initial state, the result
// list's columns, the status icon's tooltip, the key filter and the About entry.
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/qt/CInstallDlg.h"
#include "app/qt/CKioDlg.h"
#include "app/qt/StatusTooltip.h"
#include "tests/qt/MainWindowRig.h"
#include "tests/qt/SettingsTestSupport.h"

namespace {

struct MainWindowControls : ::testing::Test {
    void SetUp() override {
        EnsureQtApplication();
        window = std::make_unique<CKioDlg>();
        window->show();
    }
    std::unique_ptr<CKioDlg> window;
};

TEST_F(MainWindowControls, TitleGroupAndStatusFieldAtCreation) {
    EXPECT_EQ(window->windowTitle(), "Telvix.i Software Updater v4.0.0");
    EXPECT_EQ(Id<QGroupBox>(*window, 1008)->title(), "Telvix.i USB Device Status");
    EXPECT_EQ(Id<QLineEdit>(*window, 1022)->text(), "Device disconnected");
    EXPECT_EQ(window->StatusIconNumber(), 137);
    EXPECT_FALSE(window->windowIcon().isNull());
    for (int id : {1020, 1021, 1022}) {
        QLineEdit* field = Id<QLineEdit>(*window, id);
        ASSERT_NE(field, nullptr) << id;
        EXPECT_TRUE(field->isReadOnly()) << id;
        EXPECT_EQ(field->alignment() & Qt::AlignHCenter, Qt::AlignHCenter) << id;
    }
    EXPECT_TRUE(Id<QLineEdit>(*window, 1020)->text().isEmpty());
    EXPECT_TRUE(Id<QLineEdit>(*window, 1021)->text().isEmpty());
    EXPECT_FALSE(window->InstallDialog().isVisible());
}

TEST_F(MainWindowControls, ButtonsAndListsWithTheirTextsAndStates) {
    struct Expected {
        int id;
        const char* text;
        bool enabled;
        bool shown;
    };
    const Expected buttons[] = {{1035, "Settings", true, false},
                                {1048, "Feature Activation", true, false},
                                {1006, "Search ", false, true},
                                {1013, " Install ", false, true}};
    for (const Expected& e : buttons) {
        QPushButton* button = Id<QPushButton>(*window, e.id);
        ASSERT_NE(button, nullptr) << e.id;
        EXPECT_EQ(button->text(), e.text) << e.id;
        EXPECT_EQ(button->isEnabled(), e.enabled) << e.id;
        EXPECT_EQ(button->isVisible(), e.shown) << e.id;
        EXPECT_FALSE(button->autoDefault()) << e.id;
    }
    EXPECT_FALSE(Id<QPushButton>(*window, 1006)->icon().isNull());
    EXPECT_FALSE(Id<QPushButton>(*window, 1013)->icon().isNull());
    for (int id : {1002, 1003, 1004}) {
        QComboBox* list = Id<QComboBox>(*window, id);
        ASSERT_NE(list, nullptr) << id;
        EXPECT_FALSE(list->isEnabled()) << id;
        EXPECT_FALSE(list->isEditable()) << id;  // selection only
        EXPECT_EQ(list->insertPolicy(), QComboBox::InsertAtBottom) << id;
    }
    QCheckBox* manual = Id<QCheckBox>(*window, 1005);
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(manual->text(), QString::fromUtf8("MANUAL TRANSMISSION \u2013 SELECT PRIOR TO SEARCH"));
    EXPECT_FALSE(manual->isEnabled());
    EXPECT_EQ(Id<QLabel>(*window, 1007)->text(), "Search results");
    ASSERT_NE(Id<QToolButton>(*window, 1024), nullptr);
    ASSERT_NE(Id<QToolButton>(*window, 1029), nullptr);
}

TEST_F(MainWindowControls, FixedLabelsOfBothAreas) {
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const char* text :
         {"CURRENTLY PROGRAMMED MAKE/MODEL/YEAR", "CURRENTLY PROGRAMMED FEATURES", "Make", "Model", "Year",
          "Attention! If you press Install button, your device will be erased,",
          "the current software will be lost and selected software  will be", "installed."}) {
        EXPECT_TRUE(texts.contains(text)) << text;
    }
}

TEST_F(MainWindowControls, ResultListColumnsGridAndRowSelection) {
    QTableWidget* table = Id<QTableWidget>(*window, 1001);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 4);
    const char* titles[] = {"MAKE", "MODEL", "YEAR", "FEATURES"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table->horizontalHeaderItem(i)->text(), titles[i]);
        EXPECT_EQ(table->columnWidth(i), 110);
    }
    EXPECT_EQ(table->horizontalHeaderItem(3)->text(), titles[3]);
    EXPECT_GE(table->columnWidth(3), 190);
    EXPECT_TRUE(table->showGrid());
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(table->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(table->isSortingEnabled());
    EXPECT_FALSE(table->horizontalHeader()->sectionsClickable());
    EXPECT_EQ(table->horizontalHeader()->defaultAlignment() & Qt::AlignLeft, Qt::AlignLeft);
    EXPECT_EQ(table->rowCount(), 0);
}

TEST_F(MainWindowControls, StatusIconTooltipTextWidthAndHideDelay) {
    const QString expected = QString::fromUtf8(
        "WHITE USB LOGO DEVICE DISCONNECTED.\nMAKE SURE USB CABLE USED IS A DATA CABLE NOT CHARGING CABLE.\n"
        "TRY A DIFFERENT USB CABLE.\n\nGREEN USB LOGO - STATUS OK\n\nBLUE USB LOGO \u2013 DROP DOWN MENU "
        "DISABLED.\n"
        "CLICK MAIN SEARCH BUTTON & SELECT FIRMWARE TO INSTALL.");
    StatusTooltip& tooltip = window->Tooltip();
    EXPECT_EQ(tooltip.text(), expected);
    EXPECT_EQ(Id<QToolButton>(*window, 1024)->toolTip(), expected);
    EXPECT_EQ(tooltip.maximumWidth(), 400);
    EXPECT_EQ(tooltip.HideDelayMs(), 10000);
    EXPECT_TRUE(tooltip.wordWrap());

    QWidget* icon = Id<QToolButton>(*window, 1024);
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), icon->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(icon, &help);
    EXPECT_TRUE(tooltip.isVisible());
    EXPECT_LE(tooltip.width(), 400);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(icon, &leave);
    EXPECT_FALSE(tooltip.isVisible());
}

TEST_F(MainWindowControls, EnterAndEscapeNeverCloseTheWindowNorPressAButton) {
    QPushButton* install = Id<QPushButton>(*window, 1013);
    install->setEnabled(true);
    QSignalSpy clicks(install, &QPushButton::clicked);
    QSignalSpy finished(window.get(), &QDialog::finished);
    install->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(install, key);
        QTest::keyClick(window.get(), key);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(finished.count(), 0);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MainWindowControls, EnterReachesAFocusedTextFieldOnly) {
    QLineEdit* field = Id<QLineEdit>(*window, 1020);
    QSignalSpy returns(field, &QLineEdit::returnPressed);
    QSignalSpy finished(window.get(), &QDialog::finished);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(returns.count(), 1);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(MainWindowControls, AboutEntryOpensTheAboutBox) {
    QAction* about = window->findChild<QAction*>("aboutAction");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&About Telvix.i...");
    QString title;
    QStringList labels;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            labels << label->text();
        }
        Id<QPushButton>(*box, 2)->click();  // Cancel
    });
    about->trigger();
    EXPECT_EQ(title, "About Ravelle Updater");
    EXPECT_TRUE(labels.contains("Telvix.i Software Updater v4.0"));
    EXPECT_TRUE(labels.filter("href=").size() == 1);
}

}  // namespace
