#include "tests/support/FakeClock.h"

std::chrono::steady_clock::time_point FakeClock::Now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void FakeClock::Sleep(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(duration);
    now_ += duration;
}

LocalDate FakeClock::Today() const {
    std::lock_guard lock(mutex_);
    return today_;
}

void FakeClock::Advance(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    now_ += duration;
}

void FakeClock::SetToday(LocalDate date) {
    std::lock_guard lock(mutex_);
    today_ = date;
}

std::vector<std::chrono::milliseconds> FakeClock::Sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

std::chrono::milliseconds FakeClock::TotalSlept() const {
    std::lock_guard lock(mutex_);
    std::chrono::milliseconds total{0};
    for (auto sleep : sleeps_) {
        total += sleep;
    }
    return total;
}
