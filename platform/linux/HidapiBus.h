#pragma once
// The HID bus through hidapi (hidraw backend). Each channel direction opens the device path on
// its own, since calls on one hidapi device must not overlap except a read.
#include "platform/HidBus.h"

class HidapiBus final : public HidBus {
  public:
    HidapiBus();
    ~HidapiBus() override;
    HidapiBus(const HidapiBus&) = delete;
    HidapiBus& operator=(const HidapiBus&) = delete;

    std::vector<HidCollectionInfo> ListCollections() override;
    std::optional<std::u16string> ReadProductString(const std::string& path) override;
    std::optional<std::u16string> ReadSerialString(const std::string& path) override;
    std::unique_ptr<HidReadHandle> OpenRead(const std::string& path) override;
    std::unique_ptr<HidWriteHandle> OpenWrite(const std::string& path) override;
    bool OpenDenied(const std::string& path) override;
};

// hidapi's wide strings (UTF-32 on Linux) as UTF-16; nothing for a null pointer.
std::u16string WideToUtf16(const wchar_t* text);
