// The real program on the real main window against the demo setup: the identity message, the
// enabled and shown rules of the device and search areas across the link modes, an interface
// plugged in after start, and a search and an install driven through the widgets.
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "FixtureCatalogue.h"
#include "app/MainController.h"
#include "app/qt/CInstallDlg.h"
#include "tests/qt/MainWindowRig.h"

namespace {

bool Enabled(const QWidget& window, int id) {
    return Id<QWidget>(window, id)->isEnabled();
}
bool Shown(const QWidget& window, int id) {
    return !Id<QWidget>(window, id)->isHidden();
}
QString FieldText(const QWidget& window, int id) {
    return Id<QLineEdit>(window, id)->text();
}
bool ListsEnabled(const QWidget& window) {
    return Enabled(window, 1002) && Enabled(window, 1003) && Enabled(window, 1004) && Enabled(window, 1005);
}
bool ListsDisabled(const QWidget& window) {
    return !Enabled(window, 1002) && !Enabled(window, 1003) && !Enabled(window, 1004) &&
           !Enabled(window, 1005);
}
void ClickRow(QTableWidget* table, int row) {
    const QRect cell = table->visualRect(table->model()->index(row, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

TEST(ProgramWindow, IdentityMessageBeforeAndAfterTheConfigurationRead) {
    MainWindowRig rig(kDemoDefaultModel, /*plugged=*/false);
    Id<QToolButton>(*rig.window, 1029)->click();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text,
              u"ID: , Software ID: 0, Software Build: 0, Make: , Model: , MCU Serial: ");
    EXPECT_EQ(rig.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(rig.messages.shown[0].buttons, MessageButtons::Ok);

    rig.machine.Plug();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE; }));
    Id<QToolButton>(*rig.window, 1029)->click();
    ASSERT_EQ(rig.messages.shown.size(), 2u);
    const std::u16string text = rig.messages.shown[1].text;
    const FixtureCatalogue catalogue = BuildFixtureCatalogue();
    const FixtureDevice* unit = nullptr;
    for (const FixtureDevice& device : catalogue.devices) {
        if (device.mfg_id == kDemoDefaultModel) {
            unit = &device;
        }
    }
    ASSERT_NE(unit, nullptr);
    const std::string expected = "ID: QD7720R, Software ID: " + std::to_string(unit->sw_id) +
                                 ", Software Build: " + std::to_string(unit->sw_build) +
                                 ", Make: " + unit->vehicle_make + ", Model: " + unit->vehicle_model +
                                 ", MCU Serial: " + McuSerialText(FixtureMcuId(kDemoDefaultModel));
    EXPECT_EQ(QString::fromStdU16String(text).toStdString(), expected);
}

TEST(ProgramWindow, AnInterfacePluggedInAfterStartIsConnectedAndIdentified) {
    MainWindowRig rig(kDemoDefaultModel, /*plugged=*/false);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_WAIT_CONNECT; }));
    EXPECT_EQ(FieldText(*rig.window, 1022), "Device disconnected");
    EXPECT_TRUE(ListsDisabled(*rig.window));
    rig.machine.Plug();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE; }));
    EXPECT_EQ(rig.window->StatusIconNumber(), 136);
    EXPECT_TRUE(ListsEnabled(*rig.window));
    EXPECT_TRUE(Enabled(*rig.window, 1006));
    EXPECT_FALSE(FieldText(*rig.window, 1020).isEmpty());
    EXPECT_FALSE(FieldText(*rig.window, 1021).isEmpty());
    EXPECT_EQ(Id<QComboBox>(*rig.window, 1002)->itemText(0), "ALL MAKES");
    EXPECT_GT(Id<QComboBox>(*rig.window, 1002)->count(), 1);
}

TEST(ProgramWindow, EnabledAndShownRulesAcrossTheLinkModes) {
    MainWindowRig rig(kDemoDefaultModel, /*plugged=*/false);
    UpdaterContext& ctx = rig.Context();
    MainController& controller = rig.program->Controller();
    const QWidget& w = *rig.window;

    ctx.iUsbConnectSts = USB_APPLICATION;
    controller.ShowLinkStatus();
    EXPECT_EQ(rig.window->StatusIconNumber(), 136);
    EXPECT_TRUE(ListsEnabled(w));
    EXPECT_FALSE(Enabled(w, 1006));  // Search waits for the software lookup

    ctx.deviceConfig.set(CAP_VIDEO_SETTINGS, true);
    ctx.deviceConfig.set(CAP_FEATURES, true);
    controller.ShowDeviceInfo(INFO_IDENTITY);
    EXPECT_TRUE(Shown(w, 1035));
    EXPECT_TRUE(Shown(w, 1048));
    EXPECT_TRUE(Enabled(w, 1048));
    EXPECT_EQ(FieldText(w, 1022), "Initializing");
    controller.ShowDeviceInfo(INFO_SOFTWARE);
    EXPECT_TRUE(Enabled(w, 1006));

    ctx.deviceConfig.set(CAP_VIDEO_SETTINGS, false);
    ctx.deviceConfig.set(CAP_FEATURES, false);
    controller.ShowDeviceInfo(INFO_IDENTITY);
    EXPECT_FALSE(Shown(w, 1035));
    EXPECT_FALSE(Shown(w, 1048));
    EXPECT_FALSE(Enabled(w, 1048));

    for (std::int32_t mode : {USB_BOOTLOADER, USB_MASS_STORAGE}) {
        ctx.deviceConfig.set(CAP_VIDEO_SETTINGS, true);
        controller.ShowDeviceInfo(INFO_IDENTITY);
        ctx.iUsbConnectSts = mode;
        controller.ShowLinkStatus();
        EXPECT_EQ(rig.window->StatusIconNumber(), 138) << mode;
        EXPECT_EQ(FieldText(w, 1022), "Ready for download") << mode;
        EXPECT_TRUE(ListsDisabled(w)) << mode;
        EXPECT_FALSE(Enabled(w, 1006)) << mode;
        EXPECT_FALSE(Shown(w, 1035)) << mode;
        ctx.mfg_id = u"QD7720R";
        controller.ShowDeviceInfo(INFO_LOADER);
        EXPECT_TRUE(Enabled(w, 1006)) << mode;
        EXPECT_TRUE(ListsDisabled(w)) << mode;
        EXPECT_EQ(FieldText(w, 1022), "QD7720R") << mode;
        EXPECT_TRUE(FieldText(w, 1020).isEmpty()) << mode;
        EXPECT_FALSE(Shown(w, 1048)) << mode;
    }

    Id<QPushButton>(*rig.window, 1013)->setEnabled(true);
    Id<QTableWidget>(*rig.window, 1001)->setRowCount(3);
    ctx.iUsbConnectSts = USB_CONNECTING;
    controller.ShowLinkStatus();  // nothing changes
    EXPECT_EQ(rig.window->StatusIconNumber(), 138);
    EXPECT_TRUE(Enabled(w, 1013));

    ctx.iUsbConnectSts = USB_NOT_CONNECTED;
    controller.ShowLinkStatus();
    EXPECT_EQ(rig.window->StatusIconNumber(), 137);
    EXPECT_EQ(FieldText(w, 1022), "Device disconnected");
    EXPECT_TRUE(ListsDisabled(w));
    EXPECT_FALSE(Enabled(w, 1006));
    EXPECT_FALSE(Enabled(w, 1013));
    EXPECT_FALSE(Shown(w, 1035));
    EXPECT_FALSE(Shown(w, 1048));
    EXPECT_EQ(Id<QTableWidget>(*rig.window, 1001)->rowCount(), 0);
}

TEST(ProgramWindow, SearchAndInstallThroughTheWidgets) {
    MainWindowRig rig;
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE; }));
    QTableWidget* results = Id<QTableWidget>(*rig.window, 1001);
    QPushButton* install = Id<QPushButton>(*rig.window, 1013);
    EXPECT_FALSE(install->isEnabled());

    QTest::mouseClick(Id<QPushButton>(*rig.window, 1006), Qt::LeftButton);
    const QString label = Id<QLabel>(*rig.window, 1007)->text();
    ASSERT_GT(results->rowCount(), 1);
    EXPECT_EQ(label, QString("%1 records found for ALL makes ALL models ALL years").arg(results->rowCount()));
    for (int column = 0; column < 4; ++column) {
        EXPECT_FALSE(results->item(0, column)->text().isEmpty()) << column;
    }
    EXPECT_TRUE(results->item(0, 2)->text().contains('-'));

    ClickRow(results, 1);
    EXPECT_TRUE(install->isEnabled());
    EXPECT_EQ(rig.Context().selectedRow, 1);
    const QString chosenMake = results->item(1, 0)->text();
    const QString chosenModel = results->item(1, 1)->text();

    QTest::mouseClick(install, Qt::LeftButton);
    CInstallDlg& progress = rig.window->InstallDialog();
    EXPECT_TRUE(progress.isVisible());
    QLabel* step = Id<QLabel>(progress, 1018);
    ASSERT_TRUE(rig.RunUntil([&] {
        return rig.Context().mainState == MS_INSTALLED || step->text().startsWith("ERROR");
    })) << step->text().toStdString();
    ASSERT_TRUE(rig.RunUntil([&] { return progress.windowTitle() == "Successfully finished"; }))
        << step->text().toStdString();
    EXPECT_EQ(step->text(), "Software has been successfully installed");
    EXPECT_EQ(progress.StateIcon(), 144);
    EXPECT_TRUE(Id<QPushButton>(progress, 1)->isEnabled());
    EXPECT_TRUE(FieldText(*rig.window, 1020).startsWith(chosenMake + " " + chosenModel));
    Id<QPushButton>(progress, 1)->click();
    EXPECT_FALSE(progress.isVisible());
}

TEST(ProgramWindow, AFailedFlashEndsAbortedWithCloseEnabled) {
    MainWindowRig rig;
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE; }));
    QTest::mouseClick(Id<QPushButton>(*rig.window, 1006), Qt::LeftButton);
    QTableWidget* results = Id<QTableWidget>(*rig.window, 1001);
    ASSERT_GT(results->rowCount(), 0);
    ClickRow(results, 0);
    rig.machine.SetFailFlash(true);
    QTest::mouseClick(Id<QPushButton>(*rig.window, 1013), Qt::LeftButton);
    CInstallDlg& progress = rig.window->InstallDialog();
    ASSERT_TRUE(rig.RunUntil([&] { return progress.windowTitle() == "Aborted"; }));
    EXPECT_EQ(Id<QLabel>(progress, 1018)->text(), "ERROR: Download failed");
    EXPECT_EQ(progress.StateIcon(), 145);
    EXPECT_TRUE(Id<QPushButton>(progress, 1)->isEnabled());
}

TEST(ProgramWindow, ARowChosenWithTheKeyboardIsTheOneInstalled) {
    MainWindowRig rig;
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Context().mainState == MS_IDLE; }));
    QTest::mouseClick(Id<QPushButton>(*rig.window, 1006), Qt::LeftButton);
    QTableWidget* results = Id<QTableWidget>(*rig.window, 1001);
    ASSERT_GT(results->rowCount(), 3);
    ClickRow(results, 0);
    ASSERT_EQ(rig.Context().selectedRow, 0);
    QTest::keyClick(results, Qt::Key_Down);
    QTest::keyClick(results, Qt::Key_Down);
    EXPECT_EQ(results->currentRow(), 2);
    EXPECT_EQ(rig.Context().selectedRow, 2);
}

}  // namespace
