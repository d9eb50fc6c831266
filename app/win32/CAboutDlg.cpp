#include "app/win32/CAboutDlg.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/win32/SharedStrings.h"
#include "app/win32/WindowPlacement.h"
#include "resources/win32/main_ids.h"

namespace {

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* details = reinterpret_cast<const AboutDetails*>(lParam);
            SetDlgItemTextW(dialog, IDC_1019, AboutLinkMarkup(details->makerWebAddress).c_str());
            // A read-only field: support can ask for the path to be copied from it.
            const std::wstring log = details->diagnosticsLog.empty() ? std::wstring(L"(none is kept)")
                                                                     : details->diagnosticsLog.wstring();
            SetDlgItemTextW(dialog, IDC_ABOUT_LOG, log.c_str());
            CenterOverOwner(dialog);
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_1019 && (header->code == NM_CLICK || header->code == NM_RETURN)) {
                const auto* link = reinterpret_cast<const NMLINK*>(lParam);
                ShellExecuteW(dialog, L"open", link->item.szUrl, nullptr, nullptr, SW_SHOWNORMAL);
                return TRUE;
            }
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

std::wstring AboutLinkMarkup(const std::wstring& makerWebAddress) {
    return L"<a href=\"" + makerWebAddress + L"\">" + shared_text::AboutLinkText() + L"</a>";
}

void ShowAboutBox(HINSTANCE instance, HWND owner, const AboutDetails& details) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutProcedure,
                    reinterpret_cast<LPARAM>(&details));
}
