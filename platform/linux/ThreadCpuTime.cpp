#include "platform/ThreadCpuTime.h"

#include <ctime>

std::chrono::nanoseconds ThreadCpuTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}
