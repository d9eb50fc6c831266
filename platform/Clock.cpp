#include "platform/Clock.h"

#include <ctime>
#include <thread>

#include "platform/UserDataDirectory.h"

std::chrono::steady_clock::time_point SystemClock::Now() const {
    return std::chrono::steady_clock::now();
}

void SystemClock::Sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

LocalDate SystemClock::Today() const {
    const std::time_t now = std::time(nullptr);
    const std::tm local = LocalTime(now);
    return LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}
