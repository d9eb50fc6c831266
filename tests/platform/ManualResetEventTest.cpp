// The manual-reset event's waits, on which the reader and writer threads block.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ManualResetEvent.h"

namespace {
using namespace std::chrono_literals;

TEST(ManualResetEvent, StaysSignalledUntilResetAndWaitAnyNamesTheFirstSignalled) {
    ManualResetEvent a, b;
    EXPECT_FALSE(ManualResetEvent::WaitAnyFor({&a, &b}, 1ms));
    b.Set();
    EXPECT_EQ(ManualResetEvent::WaitAny({&a, &b}), 1u);
    EXPECT_EQ(ManualResetEvent::WaitAny({&a, &b}), 1u);  // still set
    a.Set();
    EXPECT_EQ(ManualResetEvent::WaitAny({&a, &b}), 0u);  // the lower index wins
    b.Reset();
    a.Reset();
    EXPECT_FALSE(a.WaitFor(1ms));
}

TEST(ManualResetEvent, ASetFromAnotherThreadWakesEveryWaiter) {
    for (int round = 0; round < 50; ++round) {
        ManualResetEvent stop, data, other;
        std::atomic<int> woken{0};
        std::thread first([&] {
            if (ManualResetEvent::WaitAny({&stop, &data}) == 1) {
                ++woken;
            }
        });
        std::thread second([&] {
            if (ManualResetEvent::WaitAny({&other, &data}) == 1) {
                ++woken;
            }
        });
        data.Set();
        first.join();
        second.join();
        EXPECT_EQ(woken.load(), 2);
    }
}
}  // namespace
