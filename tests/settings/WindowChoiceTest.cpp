#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "config/ModelCodes.h"
#include "settings/SettingsChoice.h"
#include "settings/TabHostLogic.h"

namespace {

TEST(SettingsChoice, EveryModelCodeOpensItsWindow) {
    struct Case {
        std::u16string_view model;
        SettingsWindow window;
        bool requestOverlay;
    };
    const Case cases[] = {
        {MODEL_WE5540R, SettingsWindow::VideoSettings, false},
        {MODEL_TN7581R, SettingsWindow::HdmiSettings, false},
        {MODEL_TN7580R, SettingsWindow::HdmiSettings, false},
        {MODEL_QH7720R, SettingsWindow::VimSettings, false},
        {MODEL_QH772ER, SettingsWindow::VimSettings, false},
        {MODEL_QD7720R, SettingsWindow::LvdsHost, false},
        {MODEL_QD772ER, SettingsWindow::LvdsHost, false},
        {MODEL_WD7731R, SettingsWindow::LvdsHost, true},
        {MODEL_WH7731R, SettingsWindow::LvdsHost, true},
        {MODEL_WE5581R, SettingsWindow::LvdsHost, true},
        {MODEL_WJ7731R, SettingsWindow::LvdsHost, true},
        {MODEL_TN7931R, SettingsWindow::HdmiHost, true},
    };
    ASSERT_EQ(std::size(cases), kModelCodes.size());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model.begin(), c.model.end()));
        const SettingsChoice choice = ChooseSettingsWindow(c.model);
        EXPECT_EQ(choice.window, c.window);
        EXPECT_EQ(choice.requestOverlay, c.requestOverlay);
        const bool host = c.window == SettingsWindow::LvdsHost || c.window == SettingsWindow::HdmiHost;
        EXPECT_EQ(choice.clearOverlayReceived, host);
        EXPECT_EQ(choice.handModelCode, c.window == SettingsWindow::LvdsHost);
    }
}

TEST(SettingsChoice, UnknownCodeOpensNothingAndKeepsTheOverlayFlag) {
    UpdaterContext ctx;
    ctx.mfg_id = u"XX0000R";
    ctx.overlayReceived = true;
    EXPECT_EQ(PrepareSettingsWindow(ctx).window, SettingsWindow::None);
    EXPECT_TRUE(ctx.overlayReceived);
    EXPECT_EQ(ChooseSettingsWindow(u"").window, SettingsWindow::None);
    EXPECT_EQ(ChooseSettingsWindow(u"we5540r").window, SettingsWindow::None);
}

TEST(SettingsChoice, HostModelsClearTheOverlayFlagBeforeAsking) {
    UpdaterContext ctx;
    ctx.mfg_id = u"TN7931R";
    ctx.overlayReceived = true;
    const auto choice = PrepareSettingsWindow(ctx);
    EXPECT_FALSE(ctx.overlayReceived);
    EXPECT_TRUE(choice.requestOverlay);
}

TEST(TabHost, OverlayTabRefusedBeforeTheReplyAndFilledAfter) {
    const auto refused = OnTabSelected(HostTab::Overlay, false);
    EXPECT_EQ(refused.shownTab, HostTab::Video);
    EXPECT_FALSE(refused.fillOverlayPage);
    ASSERT_TRUE(refused.message.has_value());
    EXPECT_EQ(*refused.message, u"OSD Settings Not Supported");

    const auto filled = OnTabSelected(HostTab::Overlay, true);
    EXPECT_EQ(filled.shownTab, HostTab::Overlay);
    EXPECT_TRUE(filled.fillOverlayPage);
    EXPECT_TRUE(filled.refillVideoPage);  // unaccepted camera edits are dropped
    EXPECT_FALSE(filled.message.has_value());
}

TEST(TabHost, TurningBackShowsTheCameraPageWithoutRefill) {
    const auto back = OnTabSelected(HostTab::Video, true);
    EXPECT_EQ(back.shownTab, HostTab::Video);
    EXPECT_FALSE(back.refillVideoPage);
    EXPECT_FALSE(back.fillOverlayPage);
    EXPECT_FALSE(back.message.has_value());
}

TEST(TabHost, AcceptAppliesOnlyTheSelectedPage) {
    EXPECT_EQ(PageToApply(HostTab::Video), AcceptedPage::VideoPage);
    EXPECT_EQ(PageToApply(HostTab::Overlay), AcceptedPage::OverlayPage);
}

TEST(TabHost, PageRectangleFromTheTabControlSize) {
    const PageRect rect = PageRectFor(500, 400);
    EXPECT_EQ(rect.x, 13);
    EXPECT_EQ(rect.y, 44);
    EXPECT_EQ(rect.width, 493);
    EXPECT_EQ(rect.height, 362);
}

}  // namespace
