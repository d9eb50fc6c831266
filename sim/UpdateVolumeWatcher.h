#pragma once
// The update-volume mode of an emulated Telvix interface: once a complete firmware.bin lies in
// the volume's root (its size has reached the length its image header names), the interface
// programs it into its flash, removes it and restarts into its application firmware.
//
// Poll() checks once (tests call it when they know the copy is done); Start() checks on its own
// thread every `period`, as the real interface watches its volume.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "sim/EmulatedFlash.h"
#include "sim/EmulatedInterface.h"

class UpdateVolumeWatcher {
  public:
    UpdateVolumeWatcher(EmulatedInterface& device, std::shared_ptr<EmulatedFlash> flash);
    ~UpdateVolumeWatcher();
    UpdateVolumeWatcher(const UpdateVolumeWatcher&) = delete;
    UpdateVolumeWatcher& operator=(const UpdateVolumeWatcher&) = delete;

    // True when an image was taken and the device restarted.
    bool Poll();
    void Start(std::chrono::milliseconds period = std::chrono::milliseconds(20));
    void Stop();

  private:
    EmulatedInterface& device_;
    std::shared_ptr<EmulatedFlash> flash_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};
