#include "tests/support/LinkHelpers.h"

#include <thread>

void QueuedLinkWindow::PostDeviceChange(const DeviceChange& change) {
    std::lock_guard lock(mutex_);
    changes_.push_back(change);
}

void QueuedLinkWindow::StartReplyTimer() {
    std::lock_guard lock(mutex_);
    ++timerStarts_;
}

std::size_t QueuedLinkWindow::Drain(DeviceLink& link) {
    std::size_t handled = 0;
    for (;;) {
        DeviceChange change;
        {
            std::lock_guard lock(mutex_);
            if (changes_.empty()) {
                return handled;
            }
            change = std::move(changes_.front());
            changes_.pop_front();
        }
        link.OnDeviceChange(change);
        ++handled;
    }
}

std::size_t QueuedLinkWindow::Pending() const {
    std::lock_guard lock(mutex_);
    return changes_.size();
}

int QueuedLinkWindow::TimerStarts() const {
    std::lock_guard lock(mutex_);
    return timerStarts_;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

HidReport MakeReport(std::uint8_t code, std::initializer_list<std::uint8_t> payload) {
    HidReport report{};
    report[1] = code;
    std::size_t offset = 2;
    for (std::uint8_t byte : payload) {
        if (offset < report.size()) {
            report[offset++] = byte;
        }
    }
    return report;
}
