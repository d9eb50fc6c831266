#include "settings/TabHostLogic.h"

#include "settings/SettingsTexts.h"

PageRect PageRectFor(int tabControlWidth, int tabControlHeight) {
    return {13, 44, tabControlWidth - 7, tabControlHeight - 38};
}

TabChangeSteps OnTabSelected(HostTab newTab, bool overlayReceived) {
    TabChangeSteps steps;
    if (newTab == HostTab::Video) {
        steps.shownTab = HostTab::Video;
        return steps;
    }
    steps.refillVideoPage = true;
    if (overlayReceived) {
        steps.shownTab = HostTab::Overlay;
        steps.fillOverlayPage = true;
    } else {
        steps.shownTab = HostTab::Video;
        steps.message = settings_texts::kOsdNotSupported;
    }
    return steps;
}

AcceptedPage PageToApply(HostTab selectedTab) {
    return selectedTab == HostTab::Overlay ? AcceptedPage::OverlayPage : AcceptedPage::VideoPage;
}
