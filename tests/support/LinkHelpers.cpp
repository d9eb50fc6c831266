#include "tests/support/LinkHelpers.h"

#include <thread>

void QueuedLinkWindow::PostDeviceChange(std::uint32_t eventCode) {
    std::lock_guard lock(mutex_);
    codes_.push_back(eventCode);
}

void QueuedLinkWindow::StartReplyTimer() {
    std::lock_guard lock(mutex_);
    ++timerStarts_;
}

std::size_t QueuedLinkWindow::Drain(DeviceLink& link) {
    std::size_t handled = 0;
    for (;;) {
        std::uint32_t code = 0;
        {
            std::lock_guard lock(mutex_);
            if (codes_.empty()) {
                return handled;
            }
            code = codes_.front();
            codes_.pop_front();
        }
        link.OnDeviceChange(code);
        ++handled;
    }
}

std::size_t QueuedLinkWindow::Pending() const {
    std::lock_guard lock(mutex_);
    return codes_.size();
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
