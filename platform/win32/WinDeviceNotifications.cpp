// windows.h first: the other system headers need its types.
#include <windows.h>

#include "platform/win32/WinDeviceNotifications.h"

#include <dbt.h>

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

void* RegisterHidNotifications(void* window) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    HidD_GetHidGuid(&filter.dbcc_classguid);
    return RegisterDeviceNotificationW(static_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void UnregisterHidNotifications(void* registration) {
    if (registration != nullptr)
        UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(registration));
}

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

DeviceSubscription WinDeviceNotifications::Subscribe(DeviceChangeSink sink) {
    DeviceSubscription subscription = sinks_.Add(std::move(sink));
    std::unique_lock lock(mutex_);
    if (started_ || source_ == NotificationSource::CallerWindow)
        return subscription;
    started_ = true;
    lock.unlock();
    // The window is made on its own thread; wait until it exists (or could not be made), so that
    // Watching() tells the truth and the destructor can reach it.
    std::promise<void> ready;
    std::future<void> made = ready.get_future();
    thread_ = std::thread([this, &ready] { Run(ready); });
    made.wait();
    return subscription;
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
    DeviceChange change;
    change.eventCode = static_cast<std::uint32_t>(eventCode);
    if (header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
        change.kind = DeviceKind::Volume;
        // The lowest drive of the unit mask, as the volume scan names its root.
        const DWORD units = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header)->dbcv_unitmask;
        for (int drive = 0; drive < 26; ++drive) {
            if ((units & (1u << drive)) != 0) {
                change.path = std::string(1, static_cast<char>('A' + drive)) + ":\\";
                break;
            }
        }
    } else {
        change.kind = DeviceKind::HidInterface;  // which one the system does not say in a form we use
    }
    sinks_.Deliver(change);
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
        registration = RegisterHidNotifications(window);
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
