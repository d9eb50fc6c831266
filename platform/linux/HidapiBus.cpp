#include "platform/linux/HidapiBus.h"

#include <hidapi.h>
#include <unistd.h>

#include <cerrno>

#include <chrono>

namespace {
// How long one read waits before it looks at the stop event again.
constexpr int kReadSliceMs = 50;
constexpr std::size_t kStringUnits = 128;  // 256 bytes of UTF-16, as the interface's strings are read

struct DeviceCloser {
    void operator()(hid_device* device) const { hid_close(device); }
};
using DevicePtr = std::unique_ptr<hid_device, DeviceCloser>;

DevicePtr Open(const std::string& path) {
    return DevicePtr(hid_open_path(path.c_str()));
}

class HidapiReadHandle final : public HidReadHandle {
  public:
    explicit HidapiReadHandle(DevicePtr device) : device_(std::move(device)) {}
    HidReadResult Read(HidReportBytes& report, ManualResetEvent& completion,
                       const ManualResetEvent& stop) override {
        HidReportBytes buffer{};
        while (!stop.IsSet()) {
            // Unnumbered reports arrive without their report id: the data goes after byte 0.
            const int count =
                hid_read_timeout(device_.get(), buffer.data() + 1, buffer.size() - 1, kReadSliceMs);
            if (count < 0) {
                return HidReadResult::Failed;
            }
            if (count > 0) {
                if (stop.IsSet()) {
                    return HidReadResult::Stopped;
                }
                report = buffer;
                completion.Set();
                return HidReadResult::Report;
            }
        }
        return HidReadResult::Stopped;
    }

  private:
    DevicePtr device_;
};

class HidapiWriteHandle final : public HidWriteHandle {
  public:
    explicit HidapiWriteHandle(DevicePtr device) : device_(std::move(device)) {}
    bool Write(const HidReportBytes& report) override {
        return hid_write(device_.get(), report.data(), report.size()) >= 0;
    }

  private:
    DevicePtr device_;
};

template <typename Getter>
std::optional<std::u16string> ReadString(const std::string& path, Getter getter) {
    DevicePtr device = Open(path);
    if (!device) {
        return std::nullopt;
    }
    wchar_t buffer[kStringUnits] = {};
    if (getter(device.get(), buffer, kStringUnits) != 0) {
        return std::nullopt;
    }
    buffer[kStringUnits - 1] = L'\0';
    return WideToUtf16(buffer);
}
}  // namespace

std::u16string WideToUtf16(const wchar_t* text) {
    std::u16string out;
    if (text == nullptr) {
        return out;
    }
    for (; *text != L'\0'; ++text) {
        auto code = static_cast<std::uint32_t>(*text);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else if (code > 0x10FFFF) {
            out.push_back(u'\uFFFD');
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

HidapiBus::HidapiBus() {
    hid_init();
}

HidapiBus::~HidapiBus() {
    hid_exit();
}

std::vector<HidCollectionInfo> HidapiBus::ListCollections() {
    std::vector<HidCollectionInfo> list;
    hid_device_info* devices = hid_enumerate(0, 0);
    for (const hid_device_info* info = devices; info != nullptr; info = info->next) {
        list.push_back({info->path != nullptr ? info->path : "", info->usage_page, info->usage,
                        WideToUtf16(info->product_string), WideToUtf16(info->serial_number)});
    }
    hid_free_enumeration(devices);
    return list;
}

std::optional<std::u16string> HidapiBus::ReadProductString(const std::string& path) {
    return ReadString(path, hid_get_product_string);
}

std::optional<std::u16string> HidapiBus::ReadSerialString(const std::string& path) {
    return ReadString(path, hid_get_serial_number_string);
}

std::unique_ptr<HidReadHandle> HidapiBus::OpenRead(const std::string& path) {
    DevicePtr device = Open(path);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<HidapiReadHandle>(std::move(device));
}

std::unique_ptr<HidWriteHandle> HidapiBus::OpenWrite(const std::string& path) {
    DevicePtr device = Open(path);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<HidapiWriteHandle>(std::move(device));
}

bool HidapiBus::OpenDenied(const std::string& path) {
    // hidraw paths are device nodes: access() tells a missing permission from a device gone.
    return access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES;
}
