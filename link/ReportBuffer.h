#pragma once
// A report shared between threads. Each Store() replaces the report whole and bumps the sequence
// number; Load() returns a whole copy, so no reader ever sees a half-written report.
#include <cstdint>
#include <mutex>

#include "link/HidReport.h"

class ReportBuffer {
public:
    HidReport Load() const {
        std::lock_guard lock(mutex_);
        return report_;
    }
    // The report together with the sequence number of the Store() that wrote it.
    HidReport Load(std::uint64_t& sequence) const {
        std::lock_guard lock(mutex_);
        sequence = sequence_;
        return report_;
    }
    std::uint64_t Sequence() const {
        std::lock_guard lock(mutex_);
        return sequence_;
    }
    void Store(const HidReport& report) {
        std::lock_guard lock(mutex_);
        report_ = report;
        ++sequence_;
    }
    std::uint8_t Byte(std::size_t index) const {
        std::lock_guard lock(mutex_);
        return report_[index];
    }
    // Changes one byte in place (a command's code, the report id); does not count as a new report.
    void SetByte(std::size_t index, std::uint8_t value) {
        std::lock_guard lock(mutex_);
        report_[index] = value;
    }
    // Runs f on the report under the lock, for commands that lay several payload bytes at once.
    template <typename F>
    void Edit(F&& f) {
        std::lock_guard lock(mutex_);
        f(report_);
    }

private:
    mutable std::mutex mutex_;
    HidReport report_{};
    std::uint64_t sequence_ = 0;
};
