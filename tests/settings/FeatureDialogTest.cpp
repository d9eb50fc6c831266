#include "settings/FeatureDialogLogic.h"

#include <gtest/gtest.h>

#include "app/UpdaterContext.h"

namespace {

FeatureView ReadyView(std::uint8_t featureBits, const FeatureLabelTable& labels = {}) {
    FeatureView view;
    ResetFeatureView(labels, view);
    ShowFeatureReadResult(view, u"Click Accept to Start Programming", false, featureBits);
    return view;
}

TEST(FeatureLabels, QueryRowsAddOrReplaceAndNeverRemove) {
    FeatureLabelTable table;
    table.Merge({{1, u"Rear Cam"}, {2, u"DVD"}, {4, u"Hidden"}});
    table.Merge({{2, u"Aux"}});
    ASSERT_NE(table.Find(1), nullptr);
    EXPECT_EQ(*table.Find(1), u"Rear Cam");
    EXPECT_EQ(*table.Find(2), u"Aux");
    EXPECT_EQ(*table.Find(4), u"Hidden");
    EXPECT_EQ(table.Find(3), nullptr);
}

TEST(FeatureReset, BoxesTakeLabelsOrKeepTheirInitialTexts) {
    FeatureLabelTable table;
    table.Merge({{1, u"Front Camera"}, {4, u"Never shown"}});
    FeatureView view;
    view.inputs[0].checked = true;
    view.choice[0] = true;
    ResetFeatureView(table, view);
    EXPECT_EQ(view.inputTexts[0], u"Front Camera");
    EXPECT_EQ(view.inputTexts[1], u"Auxilary Input");
    EXPECT_EQ(view.inputTexts[2], u"Navigation Input");
    EXPECT_FALSE(view.inputs[0].checked);
    EXPECT_FALSE(view.choice[0]);
    EXPECT_FALSE(view.acceptEnabled);
    EXPECT_TRUE(view.busy);
    EXPECT_EQ(view.status, u"Please Wait...");
    EXPECT_EQ(view.icon, ICON_READY);
    for (const auto& box : view.inputs) {
        EXPECT_FALSE(box.enabled);  // nothing can be chosen before this showing's read
    }
    EXPECT_FALSE(view.turnOff.enabled);
    EXPECT_FALSE(view.turnOff.checked);
}

TEST(FeatureReset, SecondInterfaceWithoutLabelsShowsTheFirstOnes) {
    FeatureLabelTable table;
    table.Merge({{1, u"Camera A"}, {2, u"Camera B"}, {3, u"Camera C"}});
    FeatureView view;
    ResetFeatureView(table, view);
    table.Merge({});
    ResetFeatureView(table, view);
    EXPECT_EQ(view.inputTexts[2], u"Camera C");
}

TEST(FeatureRead, BitsZeroToTwoEnableTheirBoxes) {
    const auto view = ReadyView(0b1111'1101);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(view.status, u"Click Accept to Start Programming");
    EXPECT_TRUE(view.inputs[0].enabled);
    EXPECT_FALSE(view.inputs[1].enabled);
    EXPECT_TRUE(view.inputs[2].enabled);  // bit 2, the bit it is written to
    EXPECT_TRUE(view.turnOff.enabled);
    EXPECT_FALSE(view.acceptEnabled);
    EXPECT_FALSE(ReadyView(0b0000'0011).inputs[2].enabled);
}

TEST(FeatureRead, ReadErrorDisablesAllBoxesAndShowsTheErrorIcon) {
    FeatureView view;
    ResetFeatureView({}, view);
    ShowFeatureReadResult(view, u"Read error!Con not read Features options.", true, 0x07);
    EXPECT_EQ(view.icon, ICON_ERROR);
    EXPECT_FALSE(view.busy);
    for (const auto& box : view.inputs) {
        EXPECT_FALSE(box.enabled);
    }
    EXPECT_FALSE(view.turnOff.enabled);
    EXPECT_FALSE(view.acceptEnabled);
    OnFeatureInputClicked(view, 0);
    OnTurnOffClicked(view);
    EXPECT_FALSE(view.acceptEnabled);
}

TEST(FeatureBoxes, UncheckingTheLastCheckedBoxDisablesAccept) {
    auto view = ReadyView(0x07);
    OnFeatureInputClicked(view, 0);
    OnFeatureInputClicked(view, 2);
    EXPECT_TRUE(view.acceptEnabled);
    OnFeatureInputClicked(view, 0);
    EXPECT_TRUE(view.acceptEnabled);
    OnFeatureInputClicked(view, 2);
    EXPECT_FALSE(view.acceptEnabled);
    EXPECT_FALSE(view.inputs[2].checked);
}

TEST(FeatureBoxes, TurnOffUnchecksTheInputsAndCheckingAnInputUnchecksTurnOff) {
    auto view = ReadyView(0x07);
    OnFeatureInputClicked(view, 1);
    OnTurnOffClicked(view);
    EXPECT_TRUE(view.turnOff.checked);
    EXPECT_TRUE(view.acceptEnabled);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(view.inputs[i].checked);
        EXPECT_FALSE(view.choice[i]);
    }
    OnFeatureInputClicked(view, 0);
    EXPECT_FALSE(view.turnOff.checked);
    OnFeatureInputClicked(view, 0);
    OnTurnOffClicked(view);
    OnTurnOffClicked(view);  // unchecked again: nothing to send
    EXPECT_FALSE(view.acceptEnabled);
}

TEST(FeatureAccept, TurnOffSendsBitsZeroToTwoClearAndKeepsTheRest) {
    UpdaterContext ctx;
    ctx.featureBits = 0b1010'1111;
    auto view = ReadyView(ctx.featureBits);
    OnTurnOffClicked(view);
    OnFeatureAccept(ctx, view);
    EXPECT_TRUE(ctx.featureWriteRequest);
    EXPECT_EQ(ctx.featureBits, 0b1010'1000);
    EXPECT_TRUE(view.busy);
    EXPECT_EQ(view.status, u"Please Wait...");
}

TEST(FeatureAccept, ChoicesBecomeTheirBits) {
    UpdaterContext ctx;
    ctx.featureBits = 0b0101'0010;
    auto view = ReadyView(0x07);
    OnFeatureInputClicked(view, 0);
    OnFeatureInputClicked(view, 2);
    OnFeatureAccept(ctx, view);
    EXPECT_EQ(ctx.featureBits, 0b0101'0101);
}

TEST(FeatureAccept, DisabledAcceptSendsNothing) {
    UpdaterContext ctx;
    ctx.featureBits = 0x07;
    auto view = ReadyView(0x07);
    OnFeatureAccept(ctx, view);
    EXPECT_FALSE(ctx.featureWriteRequest);
    EXPECT_EQ(ctx.featureBits, 0x07);
}

TEST(FeatureWriteResult, StopsBusyAndShowsTheOutcomeIcon) {
    auto view = ReadyView(0x07);
    OnFeatureInputClicked(view, 1);
    view.busy = true;
    ShowFeatureWriteResult(view, u"Incorrect VIN number", true);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(view.status, u"Incorrect VIN number");
    EXPECT_EQ(view.icon, ICON_ERROR);
    EXPECT_TRUE(view.inputs[1].checked);  // boxes and Accept left as they are
    EXPECT_TRUE(view.acceptEnabled);
    ShowFeatureWriteResult(view, u"Device features have been successfully updated", false);
    EXPECT_EQ(view.icon, ICON_SUCCESS);
}

}  // namespace
