#include "settings/win32/SettingsTabHost.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "app/UpdaterContext.h"
#include "app/ports/MessagePort.h"
#include "platform/win32/WideText.h"
#include "settings/SettingsTexts.h"
#include "settings/win32/OSDSettingsDlg.h"
#include "settings/win32/RefusalMessage.h"

namespace {
void InsertTab(HWND tabs, int index, std::u16string_view text) {
    std::wstring label = WideFromUtf16(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = label.data();
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}
}  // namespace

SettingsTabHost::SettingsTabHost(const SettingsServices& services, HINSTANCE instance, int templateId,
                                 HWND owner)
    : services_(services) {
    Create(instance, templateId, owner);
    InsertTab(Tabs(), static_cast<int>(HostTab::Video), settings_texts::kVideoTab);
    InsertTab(Tabs(), static_cast<int>(HostTab::Overlay), settings_texts::kOverlayTab);
    // The tab control's outer size, measured once.
    RECT outer{};
    GetWindowRect(Tabs(), &outer);
    pageRect_ = PageRectFor(outer.right - outer.left, outer.bottom - outer.top);
    overlayPage_ = std::make_unique<OSDSettingsDlg>(services_, instance, Handle());
    PlacePage(overlayPage_->Handle());
}

SettingsTabHost::~SettingsTabHost() = default;

void SettingsTabHost::AttachVideoPage(DialogWindow& page) {
    videoPage_ = &page;
    PlacePage(page.Handle());
    ShowWindow(page.Handle(), SW_SHOW);
}

void SettingsTabHost::PlacePage(HWND page) const {
    // Pages take the tab body's themed background and sit above the tab control.
    EnableThemeDialogTexture(page, ETDT_ENABLETAB);
    SetWindowPos(page, HWND_TOP, pageRect_.x, pageRect_.y, pageRect_.width, pageRect_.height, 0);
}

HostTab SettingsTabHost::SelectedTab() const {
    const LRESULT index = SendMessageW(Tabs(), TCM_GETCURSEL, 0, 0);
    return index == static_cast<int>(HostTab::Overlay) ? HostTab::Overlay : HostTab::Video;
}

void SettingsTabHost::ShowPageOf(HostTab tab) {
    const bool video = tab == HostTab::Video;
    ShowWindow(videoPage_->Handle(), video ? SW_SHOW : SW_HIDE);
    ShowWindow(overlayPage_->Handle(), video ? SW_HIDE : SW_SHOW);
}

// TCM_SETCURSEL sends no TCN_SELCHANGE: the host's own selection is no user tab change.
void SettingsTabHost::SelectTab(HostTab tab) {
    SendMessageW(Tabs(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    ShowPageOf(tab);
}

void SettingsTabHost::OnShowing() {
    SelectTab(HostTab::Video);
    FillVideoPage();
}

bool SettingsTabHost::OnCommand(int id, int code) {
    if (id == TabHostIds::ACCEPT && code == BN_CLICKED) {
        OnAccept();
        return true;
    }
    return false;
}

bool SettingsTabHost::OnNotify(const NMHDR& header) {
    if (header.idFrom == static_cast<UINT_PTR>(TabHostIds::TAB_CONTROL) && header.code == TCN_SELCHANGE) {
        OnTabChanged();
        return true;
    }
    return false;
}

void SettingsTabHost::OnTabChanged() {
    const HostTab chosen = SelectedTab();
    ShowPageOf(chosen);
    if (!services_.Bound()) {
        return;
    }
    const TabChangeSteps steps = OnTabSelected(chosen, services_.context->overlayReceived);
    if (steps.refillVideoPage) {
        FillVideoPage();
    }
    if (steps.fillOverlayPage) {
        overlayPage_->Fill();
    }
    if (steps.shownTab != chosen) {
        SelectTab(steps.shownTab);
    }
    if (steps.message && services_.messages != nullptr) {
        services_.messages->Show(std::u16string(*steps.message), MessageIcon::Information,
                                 MessageButtons::Ok);
    }
}

void SettingsTabHost::OnAccept() {
    const SettingsOutcome outcome =
        PageToApply(SelectedTab()) == AcceptedPage::OverlayPage ? overlayPage_->Apply() : ApplyVideoPage();
    if (ShowRefusal(services_, outcome)) {
        return;  // the host stays open as it was
    }
    Hide();
}
