#pragma once
// The bus's notifications for one program at a time: a sink stays registered for the life of its
// port, so each program subscribes here and EndRun drops its sinks when the program ends.
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/DeviceNotifications.h"

class RunNotifications final : public DeviceNotificationPort {
  public:
    void Subscribe(DeviceChangeSink sink) override;
    void Forward(std::uint32_t eventCode);
    void EndRun();

  private:
    std::mutex mutex_;
    std::vector<DeviceChangeSink> sinks_;
};
