#include "sim/UpdateVolumeWatcher.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "sim/FirmwareImage.h"

UpdateVolumeWatcher::UpdateVolumeWatcher(EmulatedInterface& device, std::shared_ptr<EmulatedFlash> flash)
    : device_(device), flash_(std::move(flash)) {}

UpdateVolumeWatcher::~UpdateVolumeWatcher() {
    Stop();
}

bool UpdateVolumeWatcher::Poll() {
    if (device_.Mode() != DeviceMode::UpdateVolume) {
        return false;
    }
    const std::filesystem::path file = device_.VolumeRoot() / "firmware.bin";
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    const auto header = ParseImageHeader(image);
    if (!header || image.size() < header->imageLength) {
        return false;  // not an image, or still being copied
    }
    image.resize(header->imageLength);
    flash_->Program(std::move(image));
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    device_.Reboot(DeviceMode::Application);
    return true;
}

void UpdateVolumeWatcher::Start(std::chrono::milliseconds period) {
    Stop();
    {
        std::lock_guard lock(mutex_);
        stop_ = false;
    }
    thread_ = std::thread([this, period] {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, period, [this] { return stop_; })) {
            lock.unlock();
            Poll();
            lock.lock();
        }
    });
}

void UpdateVolumeWatcher::Stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}
