#include "app/win32/WindowPlacement.h"

#include <algorithm>

void CenterOverOwner(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner == nullptr) {
        return;
    }
    RECT ownerArea{}, box{};
    GetWindowRect(owner, &ownerArea);
    GetWindowRect(dialog, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const RECT& work = monitor.rcWork;
    const int x = std::clamp((ownerArea.left + ownerArea.right - width) / 2, work.left,
                             std::max(work.left, work.right - width));
    const int y = std::clamp((ownerArea.top + ownerArea.bottom - height) / 2, work.top,
                             std::max(work.top, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
