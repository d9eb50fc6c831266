#pragma once
// Time as the core sees it: a monotonic now, delays and the local calendar date. The real clock
// sleeps; tests and benchmarks inject one that returns at once or advances on demand.
#include <chrono>

struct LocalDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    virtual LocalDate Today() const = 0;
};

// The system clock: real sleeps, the machine's local date.
class SystemClock final : public Clock {
public:
    std::chrono::steady_clock::time_point Now() const override;
    void Sleep(std::chrono::milliseconds duration) override;
    LocalDate Today() const override;
};
