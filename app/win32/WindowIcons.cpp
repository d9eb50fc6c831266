#include "app/win32/WindowIcons.h"
#include <algorithm>

HICON LoadIconSized(HINSTANCE instance, int id, int width, int height) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_SHARED));
}

void ShowIconInControl(HINSTANCE instance, HWND control, int id) {
    RECT area{};
    GetClientRect(control, &area);
    const int side = std::min(area.right - area.left, area.bottom - area.top);
    SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconSized(instance, id, side, side)), 0);
}

void ShowIconOnButton(HINSTANCE instance, HWND button, int id) {
    const UINT dpi = GetDpiForWindow(button);
    const int side = MulDiv(24, static_cast<int>(dpi == 0 ? 96 : dpi), 96);
    SendMessageW(button, BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(LoadIconSized(instance, id, side, side)));
}
