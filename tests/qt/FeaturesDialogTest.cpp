// The features dialog as the user and the controller drive it: opening, the catalogue labels,
// the read and write results and the choice that Accept hands to the controller.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "SettingsTestSupport.h"
#include "app/ports/FeatureResultPort.h"
#include "settings/qt/CFeaturesDlg.h"

namespace {

const std::u16string kSerial = u"00112233-44556677-8899AABB-CCDDEEFF";
const std::u16string kOtherSerial = u"FFEEDDCC-BBAA9988-77665544-33221100";

struct FeaturesRig : SettingsRig {
    FeaturesRig() : dialog(windows->Features()) {
        ctx.mcu_serial = kSerial;
        labels.rows[kSerial] = {{1, u"Remote Start"}, {2, u"Heated Seats"}, {4, u"Never shown"}};
    }
    QCheckBox* Box(int id) const { return Control<QCheckBox>(&dialog, id); }
    QPushButton* Accept() const { return Control<QPushButton>(&dialog, 1055); }
    QString Status() const { return Control<QLabel>(&dialog, 1060)->text(); }
    bool Busy() const { return !Control<QProgressBar>(&dialog, 1061)->isHidden(); }
    // Opens the dialog and answers the feature read with the given byte.
    void OpenAndRead(std::uint8_t bits) {
        windows->OnFeatureActivation();
        ctx.featureBits = bits;
        windows->FeatureResults().ShowFeatureReadResult(u"Click Accept to Start Programming", false);
    }

    CFeaturesDlg& dialog;
};

}  // namespace

TEST(FeaturesDialog, OpeningRequestsTheReadAndShowsTheWaitingView) {
    FeaturesRig rig;
    rig.ctx.mainState = MS_WAIT_LOOKUP;
    rig.ctx.featureBits = 0x07;

    rig.windows->OnFeatureActivation();

    EXPECT_TRUE(rig.dialog.isVisible());
    EXPECT_FALSE(rig.dialog.isModal());
    EXPECT_EQ(rig.ctx.mainState, MS_IDLE);
    EXPECT_TRUE(rig.ctx.featureReadRequest);
    EXPECT_EQ(rig.Status(), "Please Wait...");
    EXPECT_TRUE(rig.Busy());
    EXPECT_EQ(rig.dialog.IconNumber(), 131);
    EXPECT_FALSE(rig.Accept()->isEnabled());
    for (int id : {1049, 1051, 1050}) {
        EXPECT_FALSE(rig.Box(id)->isChecked()) << id;
    }
    EXPECT_FALSE(rig.Box(1058)->isChecked());
    EXPECT_EQ(rig.dialog.windowTitle(), "..");
}

TEST(FeaturesDialog, LabelsComeFromTheCatalogueAndStayUntilReplaced) {
    FeaturesRig rig;
    rig.windows->OnFeatureActivation();
    EXPECT_EQ(rig.labels.lastSerial, kSerial);
    EXPECT_EQ(rig.Box(1049)->text(), "Remote Start");
    EXPECT_EQ(rig.Box(1051)->text(), "Heated Seats");
    EXPECT_EQ(rig.Box(1050)->text(), "Navigation Input");  // no label 3: the template's text
    rig.dialog.hide();

    // A second interface whose software has no labels, then a catalogue that cannot be reached.
    rig.ctx.mcu_serial = kOtherSerial;
    rig.windows->OnFeatureActivation();
    EXPECT_EQ(rig.Box(1049)->text(), "Remote Start");
    rig.dialog.hide();
    rig.labels.fail = true;
    rig.windows->OnFeatureActivation();
    EXPECT_EQ(rig.Box(1051)->text(), "Heated Seats");
    EXPECT_EQ(rig.labels.queries, 3);
    ASSERT_NE(rig.dialog.Labels().Find(4), nullptr);
}

TEST(FeaturesDialog, ReadResultOffersTheInputsOfTheFeatureByte) {
    FeaturesRig rig;
    rig.OpenAndRead(0x05);  // first and third input

    EXPECT_FALSE(rig.Busy());
    EXPECT_EQ(rig.Status(), "Click Accept to Start Programming");
    EXPECT_TRUE(rig.Box(1049)->isEnabled());
    EXPECT_FALSE(rig.Box(1051)->isEnabled());
    EXPECT_TRUE(rig.Box(1050)->isEnabled());
    EXPECT_TRUE(rig.Box(1058)->isEnabled());
    EXPECT_FALSE(rig.Accept()->isEnabled());
    EXPECT_EQ(rig.dialog.IconNumber(), 131);
}

TEST(FeaturesDialog, ReadErrorDisablesEveryBox) {
    FeaturesRig rig;
    rig.windows->OnFeatureActivation();
    rig.ctx.featureBits = 0x07;
    rig.windows->FeatureResults().ShowFeatureReadResult(u"Read error!Con not read Features options.", true);

    EXPECT_EQ(rig.Status(), "Read error!Con not read Features options.");
    EXPECT_EQ(rig.dialog.IconNumber(), 145);
    for (int id : {1049, 1051, 1050, 1058}) {
        EXPECT_FALSE(rig.Box(id)->isEnabled()) << id;
    }
    EXPECT_FALSE(rig.Accept()->isEnabled());
    EXPECT_FALSE(rig.Busy());
}

TEST(FeaturesDialog, ChoiceRulesAndAcceptKeepTheUpperBits) {
    FeaturesRig rig;
    rig.OpenAndRead(0xA7);

    rig.Box(1049)->click();
    EXPECT_TRUE(rig.Box(1049)->isChecked());
    EXPECT_TRUE(rig.Accept()->isEnabled());
    rig.Box(1049)->click();  // unchecking the last checked box
    EXPECT_FALSE(rig.Accept()->isEnabled());

    rig.Box(1050)->click();
    rig.Box(1058)->click();  // turn everything off
    EXPECT_FALSE(rig.Box(1050)->isChecked());
    EXPECT_TRUE(rig.Box(1058)->isChecked());
    EXPECT_TRUE(rig.Accept()->isEnabled());
    EXPECT_FALSE(rig.ctx.featureWriteRequest);

    rig.Accept()->click();
    EXPECT_TRUE(rig.ctx.featureWriteRequest);
    EXPECT_EQ(rig.ctx.featureBits, 0xA0);
    EXPECT_TRUE(rig.Busy());
    EXPECT_EQ(rig.Status(), "Please Wait...");
    EXPECT_TRUE(rig.dialog.isVisible());
}

TEST(FeaturesDialog, AcceptSendsTheCheckedInputs) {
    FeaturesRig rig;
    rig.OpenAndRead(0x47);
    rig.Box(1051)->click();
    rig.Box(1050)->click();
    rig.Accept()->click();
    EXPECT_EQ(rig.ctx.featureBits, 0x46);
}

TEST(FeaturesDialog, WriteResultsShowTheirIconAndText) {
    FeaturesRig rig;
    rig.OpenAndRead(0x01);
    rig.Box(1049)->click();
    rig.Accept()->click();

    rig.windows->FeatureResults().ShowFeatureWriteResult(u"Incorrect VIN number", true);
    EXPECT_EQ(rig.dialog.IconNumber(), 145);
    EXPECT_EQ(rig.Status(), "Incorrect VIN number");
    EXPECT_FALSE(rig.Busy());
    EXPECT_TRUE(rig.Box(1049)->isChecked());  // the user may choose again
    EXPECT_TRUE(rig.Accept()->isEnabled());

    rig.windows->FeatureResults().ShowFeatureWriteResult(u"Device features have been successfully updated",
                                                         false);
    EXPECT_EQ(rig.dialog.IconNumber(), 144);
    EXPECT_EQ(rig.Status(), "Device features have been successfully updated");
}

TEST(FeaturesDialog, CancelHidesWithoutSending) {
    FeaturesRig rig;
    rig.OpenAndRead(0x01);
    rig.Box(1049)->click();
    Control<QPushButton>(&rig.dialog, 2)->click();
    EXPECT_FALSE(rig.dialog.isVisible());
    EXPECT_FALSE(rig.ctx.featureWriteRequest);
    EXPECT_EQ(rig.ctx.featureBits, 0x01);
}
