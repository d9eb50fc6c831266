#pragma once
// The logic of the two tabbed settings hosts (LVDSTabCtrl, template 107; CHDMITabDlg, template
// 165): where the visible page sits, what a tab change does, and which page "Accept" applies.
// The Qt hosts carry out the returned steps in order.
#include <optional>
#include <string_view>

namespace TabHostIds {
constexpr int TAB_CONTROL = 1030;
constexpr int ACCEPT = 1011;
}  // namespace TabHostIds

enum class HostTab { Video = 0, Overlay = 1 };

struct PageRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The page rectangle in the host's client area, from the tab control's outer size.
PageRect PageRectFor(int tabControlWidth, int tabControlHeight);

struct TabChangeSteps {
    HostTab shownTab = HostTab::Video;           // page to show (and tab to select); the other is hidden
    bool refillVideoPage = false;                // the camera page was hidden: drop unaccepted edits
    bool fillOverlayPage = false;                // fill the overlay page from overlayConfig
    std::optional<std::u16string_view> message;  // information box, OK button
};

// The user selected newTab. Turning to the overlay tab hides (and so refills) the camera page;
// without a received overlay block the host goes back to the camera tab and says
// "OSD Settings Not Supported". Turning back to the camera tab shows it without a new fill.
TabChangeSteps OnTabSelected(HostTab newTab, bool overlayReceived);

// "Accept" applies only the page of the selected tab.
enum class AcceptedPage { VideoPage, OverlayPage };
AcceptedPage PageToApply(HostTab selectedTab);
