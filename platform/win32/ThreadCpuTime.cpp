// windows.h first: the thread-time call needs its types.
#include <windows.h>

#include "platform/ThreadCpuTime.h"

#include <cstdint>

std::chrono::nanoseconds ThreadCpuTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return {};
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    // FILETIME counts 100-nanosecond intervals.
    return std::chrono::nanoseconds((ticks(kernel) + ticks(user)) * 100);
}
