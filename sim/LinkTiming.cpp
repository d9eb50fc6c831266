#include "sim/LinkTiming.h"

#include <thread>

namespace {
using SteadyClock = std::chrono::steady_clock;
constexpr auto kSpinStretch = std::chrono::microseconds(150);
}  // namespace

void WaitUntilPrecisely(SteadyClock::time_point deadline) {
    if (SteadyClock::now() + kSpinStretch < deadline)
        std::this_thread::sleep_until(deadline - kSpinStretch);
    while (SteadyClock::now() < deadline)
        std::this_thread::yield();
}

LatencyHook DeadlineLatency(std::chrono::microseconds latency) {
    if (latency.count() <= 0)
        return {};
    return [latency](const HidReport&, DeviceMode, SteadyClock::time_point written) {
        WaitUntilPrecisely(written + latency);
    };
}

SteadyClock::time_point UsbReplyTime(SteadyClock::time_point written, std::chrono::microseconds frame) {
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::microseconds>(written.time_since_epoch());
    // The first boundary after the write carries the report out, the next one the reply back.
    const auto outFrame = sinceEpoch / frame + 1;
    return SteadyClock::time_point(std::chrono::duration_cast<SteadyClock::duration>((outFrame + 1) * frame));
}

LatencyHook UsbFrameTiming(std::chrono::microseconds frame) {
    return [frame](const HidReport&, DeviceMode, SteadyClock::time_point written) {
        WaitUntilPrecisely(UsbReplyTime(written, frame));
    };
}
