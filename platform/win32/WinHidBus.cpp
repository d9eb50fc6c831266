// windows.h first: the other system headers need its types.
#include <windows.h>

#include "platform/win32/WinHidBus.h"

#include <setupapi.h>

extern "C" {
#include <hidsdi.h>
}

#include <vector>

#include "platform/win32/WideText.h"

namespace {

// How long one wait on a pending read lasts before the stop event is looked at again.
constexpr DWORD kReadSliceMs = 20;
constexpr std::size_t kStringBytes = 256;  // room for 127 UTF-16 characters and the terminator

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE && handle != nullptr)
            CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

UniqueHandle OpenPath(const std::string& path, DWORD access, DWORD share, DWORD flags) {
    HANDLE handle =
        CreateFileW(WideFromUtf8(path).c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr);
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// A short-lived handle for the device's strings and capabilities.
UniqueHandle OpenProbe(const std::string& path) {
    return OpenPath(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
}

std::optional<std::pair<USHORT, USHORT>> UsageOf(HANDLE device) {
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (!HidD_GetPreparsedData(device, &preparsed))
        return std::nullopt;
    HIDP_CAPS caps{};
    const NTSTATUS status = HidP_GetCaps(preparsed, &caps);
    HidD_FreePreparsedData(preparsed);
    if (status != HIDP_STATUS_SUCCESS)
        return std::nullopt;
    return std::make_pair(caps.UsagePage, caps.Usage);
}

template <typename Getter>
std::optional<std::u16string> ReadString(HANDLE device, Getter getter) {
    wchar_t buffer[kStringBytes / sizeof(wchar_t)] = {};
    if (!getter(device, buffer, sizeof buffer))
        return std::nullopt;
    buffer[kStringBytes / sizeof(wchar_t) - 1] = L'\0';
    return Utf16FromWide(buffer);
}

template <typename Getter>
std::optional<std::u16string> ReadPathString(const std::string& path, Getter getter) {
    UniqueHandle device = OpenProbe(path);
    if (!device)
        return std::nullopt;
    return ReadString(device.get(), getter);
}

class WinReadHandle final : public HidReadHandle {
  public:
    explicit WinReadHandle(UniqueHandle device)
        : device_(std::move(device)), readEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

    HidReadResult Read(HidReportBytes& report, ManualResetEvent& completion,
                       const ManualResetEvent& stop) override {
        if (!readEvent_)
            return HidReadResult::Failed;
        HidReportBytes buffer{};
        OVERLAPPED overlapped{};
        overlapped.hEvent = readEvent_.get();
        ResetEvent(readEvent_.get());
        DWORD count = 0;
        if (!ReadFile(device_.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &count, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING)
                return HidReadResult::Failed;  // the device left
            for (;;) {
                if (stop.IsSet()) {
                    CancelIo(device_.get());
                    GetOverlappedResult(device_.get(), &overlapped, &count, TRUE);
                    return HidReadResult::Stopped;
                }
                const DWORD waited = WaitForSingleObject(readEvent_.get(), kReadSliceMs);
                if (waited == WAIT_OBJECT_0)
                    break;
                if (waited != WAIT_TIMEOUT)
                    return HidReadResult::Failed;
            }
            if (!GetOverlappedResult(device_.get(), &overlapped, &count, FALSE))
                return HidReadResult::Failed;
        }
        if (stop.IsSet())
            return HidReadResult::Stopped;
        report = buffer;
        completion.Set();
        return HidReadResult::Report;
    }

  private:
    UniqueHandle device_;
    UniqueHandle readEvent_;
};

class WinWriteHandle final : public HidWriteHandle {
  public:
    explicit WinWriteHandle(UniqueHandle device) : device_(std::move(device)) {}
    bool Write(const HidReportBytes& report) override {
        DWORD written = 0;
        return WriteFile(device_.get(), report.data(), static_cast<DWORD>(report.size()), &written,
                         nullptr) &&
               written == report.size();
    }

  private:
    UniqueHandle device_;
};

}  // namespace

std::vector<HidCollectionInfo> WinHidBus::ListCollections() {
    std::vector<HidCollectionInfo> list;
    GUID hidClass{};
    HidD_GetHidGuid(&hidClass);
    HDEVINFO set = SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return list;
    SP_DEVICE_INTERFACE_DATA member{};
    member.cbSize = sizeof member;
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hidClass, index, &member); ++index) {
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailW(set, &member, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;
        std::vector<std::uint8_t> storage(size);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set, &member, detail, size, nullptr, nullptr))
            continue;
        const std::string path = Utf8FromWide(detail->DevicePath);
        UniqueHandle device = OpenProbe(path);
        if (!device)
            continue;
        const auto usage = UsageOf(device.get());
        if (!usage)
            continue;
        HidCollectionInfo info;
        info.path = path;
        info.usagePage = usage->first;
        info.usage = usage->second;
        info.product = ReadString(device.get(), HidD_GetProductString).value_or(u"");
        info.serial = ReadString(device.get(), HidD_GetSerialNumberString).value_or(u"");
        list.push_back(std::move(info));
    }
    SetupDiDestroyDeviceInfoList(set);
    return list;
}

std::optional<std::u16string> WinHidBus::ReadProductString(const std::string& path) {
    return ReadPathString(path, HidD_GetProductString);
}

std::optional<std::u16string> WinHidBus::ReadSerialString(const std::string& path) {
    return ReadPathString(path, HidD_GetSerialNumberString);
}

std::unique_ptr<HidReadHandle> WinHidBus::OpenRead(const std::string& path) {
    UniqueHandle device = OpenPath(path, GENERIC_READ, FILE_SHARE_WRITE, FILE_FLAG_OVERLAPPED);
    if (!device)
        return nullptr;
    return std::make_unique<WinReadHandle>(std::move(device));
}

std::unique_ptr<HidWriteHandle> WinHidBus::OpenWrite(const std::string& path) {
    UniqueHandle device = OpenPath(path, GENERIC_WRITE, FILE_SHARE_READ, 0);
    if (!device)
        return nullptr;
    return std::make_unique<WinWriteHandle>(std::move(device));
}

bool WinHidBus::OpenDenied(const std::string& path) {
    UniqueHandle device = OpenProbe(path);
    return !device && GetLastError() == ERROR_ACCESS_DENIED;
}
