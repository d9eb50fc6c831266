#pragma once
// A clock for tests: Sleep returns at once and only advances the clock's own time, and every
// sleep is recorded. Advance moves the time on demand. Safe to use from several threads.
#include <chrono>
#include <mutex>
#include <vector>

#include "platform/Clock.h"

class FakeClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override;
    void Sleep(std::chrono::milliseconds duration) override;
    LocalDate Today() const override;

    void Advance(std::chrono::milliseconds duration);
    void SetToday(LocalDate date);
    std::vector<std::chrono::milliseconds> Sleeps() const;
    std::chrono::milliseconds TotalSlept() const;

  private:
    mutable std::mutex mutex_;
    std::chrono::steady_clock::time_point now_{std::chrono::hours(1)};
    LocalDate today_{2026, 12, 9};
    std::vector<std::chrono::milliseconds> sleeps_;
};
