#pragma once
// The host's read and write handles on an emulated device.
#include <cstdint>
#include <memory>

#include "platform/HidBus.h"
#include "sim/DeviceCore.h"

class SimReadHandle final : public HidReadHandle {
  public:
    explicit SimReadHandle(std::shared_ptr<ReadQueue> queue) : queue_(std::move(queue)) {}
    ~SimReadHandle() override { queue_->Kill(); }
    HidReadResult Read(HidReportBytes& report, ManualResetEvent& completion,
                       const ManualResetEvent& stop) override;

  private:
    std::shared_ptr<ReadQueue> queue_;
};

class SimWriteHandle final : public HidWriteHandle {
  public:
    SimWriteHandle(std::shared_ptr<DeviceCore> core, std::uint64_t generation)
        : core_(std::move(core)), generation_(generation) {}
    bool Write(const HidReportBytes& report) override;

  private:
    std::shared_ptr<DeviceCore> core_;
    const std::uint64_t generation_;
};
