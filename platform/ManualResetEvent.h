#pragma once
// A manual-reset event: stays signalled until Reset(). Any thread may call any member.
// WaitAny() waits for the first of several events, like waiting on two kernel events at once.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <vector>

class ManualResetEvent {
public:
    ManualResetEvent() = default;
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;
    void Wait() const;
    // True when the event was signalled before the time-out ran out.
    bool WaitFor(std::chrono::milliseconds timeout) const;

    // Index of the first signalled event; waits without limit.
    static std::size_t WaitAny(std::initializer_list<const ManualResetEvent*> events);
    // Index of the first signalled event, or nothing when the time-out ran out.
    static std::optional<std::size_t> WaitAnyFor(std::initializer_list<const ManualResetEvent*> events,
                                                 std::chrono::milliseconds timeout);

private:
    struct Waiter {
        std::mutex mutex;
        std::condition_variable wake;
        bool woken = false;
    };
    void Attach(Waiter* waiter) const;
    void Detach(Waiter* waiter) const;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable std::vector<Waiter*> waiters_;
    bool signalled_ = false;
};
