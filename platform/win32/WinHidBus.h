#pragma once
// The HID bus through SetupAPI and the HID library. Paths are the device interfaces' paths as
// UTF-8. A read handle is opened for overlapped reads, a write handle for synchronous writes.
#include "platform/HidBus.h"

class WinHidBus final : public HidBus {
  public:
    std::vector<HidCollectionInfo> ListCollections() override;
    std::optional<std::u16string> ReadProductString(const std::string& path) override;
    std::optional<std::u16string> ReadSerialString(const std::string& path) override;
    std::unique_ptr<HidReadHandle> OpenRead(const std::string& path) override;
    std::unique_ptr<HidWriteHandle> OpenWrite(const std::string& path) override;
    bool OpenDenied(const std::string& path) override;
};
