#include "app/win32/CInstallDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "app/win32/SharedStrings.h"
#include "app/win32/WindowIcons.h"
#include "app/win32/WindowPlacement.h"
#include "platform/win32/WideText.h"
#include "resources/win32/main_ids.h"

CInstallDlg::CInstallDlg(HINSTANCE instance, HWND owner) : instance_(instance) {
    Create(instance, IDD_INSTALL, owner);
    Reset();
}

void CInstallDlg::Show() {
    if (Visible()) {
        ShowOrRaise();  // already shown: nothing is reset
        return;
    }
    Reset();
    CenterOverOwner(Handle());
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void CInstallDlg::Hide() {
    DialogWindow::Hide();
    Reset();
}

void CInstallDlg::ShowStep(const std::u16string& text, int percent) {
    SendDlgItemMessageW(Handle(), IDC_1017, PBM_SETPOS, static_cast<WPARAM>(std::clamp(percent, 0, 100)), 0);
    ShowStepText(text);
}

void CInstallDlg::ShowStepText(const std::u16string& text) {
    SetDlgItemTextW(Handle(), IDC_1018, WideFromUtf16(text).c_str());
}

void CInstallDlg::ShowOutcome(bool succeeded) {
    SetStateIcon(succeeded ? IDI_CHIP_SUCCESS : IDI_CHIP_FAILURE);
    const std::wstring title = succeeded ? shared_text::SucceededTitle() : shared_text::AbortedTitle();
    SetWindowTextW(Handle(), title.c_str());
    EnableWindow(Control(IDOK), TRUE);
}

bool CInstallDlg::OnCommand(int id, int code) {
    (void)code;
    if (id == IDOK) {
        Hide();
        return true;
    }
    // Alt+F4 and the like act as Close, and only once Close is enabled.
    if (id == IDCANCEL) {
        if (IsWindowEnabled(Control(IDOK))) {
            Hide();
        }
        return true;
    }
    return false;
}

void CInstallDlg::Reset() {
    SetStateIcon(IDI_CHIP_INSTALL);
    SetWindowTextW(Handle(), shared_text::InstallingTitle().c_str());
    SendDlgItemMessageW(Handle(), IDC_1017, PBM_SETRANGE32, 0, 100);
    SendDlgItemMessageW(Handle(), IDC_1017, PBM_SETPOS, 0, 0);
    EnableWindow(Control(IDOK), FALSE);
}

void CInstallDlg::SetStateIcon(int id) {
    stateIcon_ = id;
    ShowIconInControl(instance_, Control(IDC_1028), id);
}
