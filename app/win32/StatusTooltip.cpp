#include "app/win32/StatusTooltip.h"

#include <commctrl.h>

#include <string>

#include "app/win32/SharedStrings.h"

StatusTooltip::StatusTooltip(HWND window, HWND icon) {
    tooltip_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    std::wstring text = shared_text::UsbStatusTooltip();
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(icon);
    tool.lpszText = text.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, shared_text::TooltipMaxWidth());
    SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(shared_text::TooltipHideDelayMs(), 0));
}

StatusTooltip::~StatusTooltip() {
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
    }
}

void StatusTooltip::RelayEvent(const MSG& message) {
    if (tooltip_ != nullptr && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
        MSG copy = message;
        SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&copy));
    }
}
