#include "platform/win32/WinDeviceNotifications.h"

#include <dbt.h>
#include <windows.h>

extern "C" {
#include <hidsdi.h>
}

namespace {

constexpr wchar_t kWindowClass[] = L"TelvixDeviceNotifications";

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DEVICECHANGE) {
        auto* self = reinterpret_cast<WinDeviceNotifications*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr)
            self->OnDeviceChange(wParam, reinterpret_cast<const void*>(lParam));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool IsLinkDeviceChange(std::uintptr_t eventCode, std::uint32_t deviceType) {
    if (eventCode != DBT_DEVICEARRIVAL && eventCode != DBT_DEVICEREMOVECOMPLETE)
        return false;
    return deviceType == DBT_DEVTYP_DEVICEINTERFACE || deviceType == DBT_DEVTYP_VOLUME;
}

WinDeviceNotifications::~WinDeviceNotifications() {
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        window = static_cast<HWND>(window_);
    }
    if (window != nullptr)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (thread_.joinable())
        thread_.join();
}

void WinDeviceNotifications::Subscribe(DeviceChangeSink sink) {
    std::unique_lock lock(mutex_);
    sinks_.push_back(std::move(sink));
    if (started_)
        return;
    started_ = true;
    lock.unlock();
    // The window is made on its own thread; wait until it exists (or could not be made), so that
    // Watching() tells the truth and the destructor can reach it.
    std::promise<void> ready;
    std::future<void> made = ready.get_future();
    thread_ = std::thread([this, &ready] { Run(ready); });
    made.wait();
}

bool WinDeviceNotifications::Watching() const {
    std::lock_guard lock(mutex_);
    return watching_;
}

void WinDeviceNotifications::OnDeviceChange(std::uintptr_t eventCode, const void* broadcast) {
    if (broadcast == nullptr)
        return;
    const auto* header = static_cast<const DEV_BROADCAST_HDR*>(broadcast);
    if (!IsLinkDeviceChange(eventCode, header->dbch_devicetype))
        return;
    std::vector<DeviceChangeSink> sinks;
    {
        std::lock_guard lock(mutex_);
        sinks = sinks_;
    }
    for (const DeviceChangeSink& sink : sinks)
        sink(static_cast<std::uint32_t>(eventCode));
}

void WinDeviceNotifications::Run(std::promise<void>& ready) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when an earlier instance registered it
    HWND window =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    HDEVNOTIFY registration = nullptr;
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        HidD_GetHidGuid(&filter.dbcc_classguid);
        registration = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        watching_ = window != nullptr && registration != nullptr;
    }
    ready.set_value();
    if (window == nullptr)
        return;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == window && message.message == WM_CLOSE)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (registration != nullptr)
        UnregisterDeviceNotification(registration);
    {
        std::lock_guard lock(mutex_);
        window_ = nullptr;
        watching_ = false;
    }
    DestroyWindow(window);
}
