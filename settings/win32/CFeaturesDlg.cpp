#include "settings/win32/CFeaturesDlg.h"

#include <commctrl.h>

#include "app/UpdaterContext.h"
#include "resources/win32/settings_ids.h"
#include "settings/win32/DialogControls.h"
#include "settings/win32/RefusalMessage.h"

namespace ids = FeatureDialogIds;

namespace {
constexpr int kIconSize = 32;
constexpr UINT kMarqueePeriodMs = 25;

HICON LoadStateIcon(HINSTANCE instance, int icon) {
    if (auto* own = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(icon), IMAGE_ICON, kIconSize, kIconSize, LR_SHARED))) {
        return own;
    }
    return LoadIconW(nullptr, icon == ICON_ERROR ? IDI_ERROR : IDI_INFORMATION);
}
}  // namespace

CFeaturesDlg::CFeaturesDlg(const SettingsServices& services, HINSTANCE instance, HWND owner)
    : services_(services), instance_(instance) {
    Create(instance, IDD_FEATURES, owner);
    ShowIcon(ICON_READY);
}

void CFeaturesDlg::OnShowing() {
    QueryLabels();
    ResetFeatureView(labels_, view_);
    ShowView();
}

bool CFeaturesDlg::OnCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return false;
    }
    for (int box = 0; box < static_cast<int>(ids::INPUT.size()); ++box) {
        if (id == ids::INPUT[static_cast<std::size_t>(box)]) {
            OnFeatureInputClicked(view_, box);
            ShowView();
            return true;
        }
    }
    switch (id) {
        case ids::TURN_OFF:
            ::OnTurnOffClicked(view_);
            ShowView();
            return true;
        case ids::ACCEPT:
            OnAccept();
            return true;
        case IDOK:
            Hide();
            return true;
        default:
            return false;
    }
}

void CFeaturesDlg::QueryLabels() {
    if (!services_.Bound() || services_.labels == nullptr) {
        return;
    }
    // A failed query is silent and changes nothing.
    RefreshFeatureLabels(*services_.labels, services_.context->mcu_serial, labels_);
}

void CFeaturesDlg::ShowView() {
    for (std::size_t i = 0; i < ids::INPUT.size(); ++i) {
        SetControlText(Handle(), ids::INPUT[i], view_.inputTexts[i]);
        ShowState(Handle(), ids::INPUT[i], view_.inputs[i]);
    }
    ShowState(Handle(), ids::TURN_OFF, view_.turnOff);
    EnableWindow(Control(ids::ACCEPT), view_.acceptEnabled ? TRUE : FALSE);
    SetControlText(Handle(), ids::STATUS, view_.status);
    ShowIcon(view_.icon);
    SendMessageW(Control(ids::BUSY), PBM_SETMARQUEE, view_.busy ? TRUE : FALSE, kMarqueePeriodMs);
    ShowWindow(Control(ids::BUSY), view_.busy ? SW_SHOW : SW_HIDE);
}

void CFeaturesDlg::ShowIcon(int icon) {
    if (icon == shownIcon_) {
        return;
    }
    SendMessageW(Control(ids::ICON), STM_SETICON, reinterpret_cast<WPARAM>(LoadStateIcon(instance_, icon)),
                 0);
    shownIcon_ = icon;
}

void CFeaturesDlg::ShowFeatureReadResult(const std::u16string& text, bool failed) {
    const std::uint8_t featureBits = services_.Bound() ? services_.context->featureBits : 0;
    ::ShowFeatureReadResult(view_, text, failed, featureBits);
    ShowView();
}

void CFeaturesDlg::ShowFeatureWriteResult(const std::u16string& text, bool failed) {
    ::ShowFeatureWriteResult(view_, text, failed);
    ShowView();
}

void CFeaturesDlg::OnAccept() {
    if (services_.Bound() && ShowRefusal(services_, OnFeatureAccept(*services_.context, view_))) {
        return;  // nothing requested, the dialog as it was
    }
    ShowView();
}
