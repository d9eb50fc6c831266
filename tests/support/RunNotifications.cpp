#include "tests/support/RunNotifications.h"

void RunNotifications::Subscribe(DeviceChangeSink sink) {
    std::lock_guard lock(mutex_);
    sinks_.push_back(std::move(sink));
}

void RunNotifications::Forward(std::uint32_t eventCode) {
    std::lock_guard lock(mutex_);
    for (const DeviceChangeSink& sink : sinks_)
        sink(eventCode);
}

void RunNotifications::EndRun() {
    std::lock_guard lock(mutex_);
    sinks_.clear();
}
