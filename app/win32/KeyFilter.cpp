#include "app/win32/KeyFilter.h"

#include <cwchar>
#include <iterator>

bool IsTextField(HWND window) {
    wchar_t name[32] = L"";
    if (window == nullptr || GetClassNameW(window, name, static_cast<int>(std::size(name))) == 0) {
        return false;
    }
    return _wcsicmp(name, L"EDIT") == 0;
}

bool FilterDialogKeys(MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    if (message.wParam == VK_ESCAPE) {
        return true;
    }
    if (message.wParam == VK_RETURN) {
        const HWND focus = GetFocus();
        if (IsTextField(focus)) {
            message.hwnd = focus;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return true;
    }
    return false;
}
