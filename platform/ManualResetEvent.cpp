#include "platform/ManualResetEvent.h"

void ManualResetEvent::Set() {
    std::lock_guard lock(mutex_);
    signalled_ = true;
    changed_.notify_all();
    for (Waiter* waiter : waiters_) {
        std::lock_guard waiterLock(waiter->mutex);
        waiter->woken = true;
        waiter->wake.notify_all();
    }
}

void ManualResetEvent::Reset() {
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool ManualResetEvent::IsSet() const {
    std::lock_guard lock(mutex_);
    return signalled_;
}

void ManualResetEvent::Wait() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return signalled_; });
}

bool ManualResetEvent::WaitFor(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    // No time to wait: the state is the answer, without a trip through the system's wait.
    if (timeout.count() <= 0)
        return signalled_;
    return changed_.wait_for(lock, timeout, [this] { return signalled_; });
}

void ManualResetEvent::Attach(Waiter* waiter) const {
    std::lock_guard lock(mutex_);
    waiters_.push_back(waiter);
}

void ManualResetEvent::Detach(Waiter* waiter) const {
    std::lock_guard lock(mutex_);
    waiters_.erase(std::remove(waiters_.begin(), waiters_.end(), waiter), waiters_.end());
}

namespace {
std::optional<std::size_t> FirstSignalled(std::initializer_list<const ManualResetEvent*> events) {
    std::size_t index = 0;
    for (const ManualResetEvent* event : events) {
        if (event->IsSet()) {
            return index;
        }
        ++index;
    }
    return std::nullopt;
}
}  // namespace

std::optional<std::size_t> ManualResetEvent::WaitAnyFor(std::initializer_list<const ManualResetEvent*> events,
                                                        std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    Waiter waiter;
    for (const ManualResetEvent* event : events) {
        event->Attach(&waiter);
    }
    std::optional<std::size_t> result;
    for (;;) {
        // Clear the wake flag before looking, so a Set() between the look and the wait is not lost.
        {
            std::lock_guard lock(waiter.mutex);
            waiter.woken = false;
        }
        result = FirstSignalled(events);
        if (result) {
            break;
        }
        std::unique_lock lock(waiter.mutex);
        if (!waiter.wake.wait_until(lock, deadline, [&] { return waiter.woken; })) {
            break;
        }
    }
    for (const ManualResetEvent* event : events) {
        event->Detach(&waiter);
    }
    return result;
}

std::size_t ManualResetEvent::WaitAny(std::initializer_list<const ManualResetEvent*> events) {
    for (;;) {
        if (auto index = WaitAnyFor(events, std::chrono::hours(24))) {
            return *index;
        }
    }
}
