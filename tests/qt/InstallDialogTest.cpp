// The install progress dialog: its controls, the reset on every show and hide (the step text is
// kept), the outcomes, Close, and the key filter.
#include <gtest/gtest.h>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/qt/CInstallDlg.h"
#include "tests/qt/MainWindowRig.h"
#include "tests/qt/SettingsTestSupport.h"

namespace {

struct InstallDialog : ::testing::Test {
    void SetUp() override {
        EnsureQtApplication();
        owner = std::make_unique<QWidget>();
        dialog = new CInstallDlg(owner.get());
    }
    QString Step() const { return Id<QLabel>(*dialog, 1018)->text(); }
    int Bar() const { return Id<QProgressBar>(*dialog, 1017)->value(); }
    bool CloseEnabled() const { return Id<QPushButton>(*dialog, 1)->isEnabled(); }
    void ExpectReset() const {
        EXPECT_EQ(dialog->StateIcon(), 131);
        EXPECT_EQ(dialog->windowTitle(), "Installing software, please wait");
        EXPECT_EQ(Bar(), 0);
        EXPECT_EQ(Id<QProgressBar>(*dialog, 1017)->minimum(), 0);
        EXPECT_EQ(Id<QProgressBar>(*dialog, 1017)->maximum(), 100);
        EXPECT_FALSE(CloseEnabled());
    }
    std::unique_ptr<QWidget> owner;
    CInstallDlg* dialog = nullptr;
};

TEST_F(InstallDialog, CreatedHiddenWithItsTextsAndNoCloseBox) {
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Step(), "Starting update");
    EXPECT_EQ(Id<QPushButton>(*dialog, 1)->text(), "Close");
    EXPECT_TRUE(Id<QPushButton>(*dialog, 1)->isDefault());
    ASSERT_NE(Id<QLabel>(*dialog, 1028), nullptr);
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(dialog->windowFlags().testFlag(Qt::WindowSystemMenuHint));
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains("Please wait while the new software is being installed"));
    EXPECT_TRUE(texts.contains("Do not disconnect your device until the process completes!"));
    ExpectReset();
}

TEST_F(InstallDialog, StepsOutcomesAndTheResetOnHideAndShow) {
    dialog->Show();
    ASSERT_TRUE(dialog->isVisible());
    dialog->ShowStep(u"Downloading software", 26);
    EXPECT_EQ(Step(), "Downloading software");
    EXPECT_EQ(Bar(), 26);
    dialog->ShowStepText(u"Downloading software 50% completed");
    EXPECT_EQ(Step(), "Downloading software 50% completed");
    EXPECT_EQ(Bar(), 26);
    dialog->ShowStep(u"Software has been successfully installed", 100);
    dialog->ShowOutcome(true);
    EXPECT_EQ(dialog->StateIcon(), 144);
    EXPECT_EQ(dialog->windowTitle(), "Successfully finished");
    EXPECT_TRUE(CloseEnabled());

    dialog->Hide();
    EXPECT_FALSE(dialog->isVisible());
    ExpectReset();
    EXPECT_EQ(Step(), "Software has been successfully installed");  // kept until the next step

    dialog->ShowOutcome(false);
    EXPECT_EQ(dialog->StateIcon(), 145);
    EXPECT_EQ(dialog->windowTitle(), "Aborted");
    dialog->Show();
    ExpectReset();
    EXPECT_EQ(Step(), "Software has been successfully installed");
}

TEST_F(InstallDialog, ShowingAVisibleDialogResetsNothing) {
    dialog->Show();
    dialog->ShowStep(u"ERROR: Download failed", 26);
    dialog->ShowOutcome(false);
    dialog->Show();
    EXPECT_EQ(dialog->windowTitle(), "Aborted");
    EXPECT_EQ(dialog->StateIcon(), 145);
    EXPECT_EQ(Bar(), 26);
    EXPECT_TRUE(CloseEnabled());
}

TEST_F(InstallDialog, CloseHidesItAndAWindowCloseNeedsCloseEnabled) {
    dialog->Show();
    QCloseEvent early;
    QApplication::sendEvent(dialog, &early);
    EXPECT_FALSE(early.isAccepted());
    dialog->ShowOutcome(true);
    Id<QPushButton>(*dialog, 1)->click();
    EXPECT_FALSE(dialog->isVisible());
    ExpectReset();
}

TEST_F(InstallDialog, EnterAndEscapeNeverCloseIt) {
    dialog->Show();
    dialog->ShowOutcome(true);
    QPushButton* close = Id<QPushButton>(*dialog, 1);
    QSignalSpy clicks(close, &QPushButton::clicked);
    close->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(close, key);
        QTest::keyClick(dialog, key);
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(dialog->windowTitle(), "Successfully finished");
}

}  // namespace
