// The manual-reset event's waits, and the real adapters as far as this machine allows (no hidraw
// devices, maybe no udev): they build, list nothing, refuse bad paths and shut down promptly.
#include <gtest/gtest.h>

#include <thread>

#include "platform/HidapiBus.h"
#include "platform/ManualResetEvent.h"
#include "platform/UdevNotifications.h"

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

TEST(HidapiBus, ListsWhatThereIsAndRefusesUnknownPaths) {
    HidapiBus bus;
    for (const HidCollectionInfo& info : bus.ListCollections()) {
        EXPECT_FALSE(info.path.empty());
    }
    EXPECT_EQ(bus.OpenRead("/nonexistent/hidraw99"), nullptr);
    EXPECT_EQ(bus.OpenWrite("/nonexistent/hidraw99"), nullptr);
    EXPECT_FALSE(bus.ReadProductString("/nonexistent/hidraw99"));
    EXPECT_FALSE(bus.ReadSerialString("/nonexistent/hidraw99"));
}

TEST(HidapiBus, WideStringsBecomeUtf16WithSurrogates) {
    EXPECT_EQ(WideToUtf16(nullptr), u"");
    EXPECT_EQ(WideToUtf16(L"CAR INTERFACE"), u"CAR INTERFACE");
    const wchar_t text[] = {L'A', static_cast<wchar_t>(0x1F600), static_cast<wchar_t>(0x00E9), 0};
    EXPECT_EQ(WideToUtf16(text), std::u16string(u"A\U0001F600\u00E9"));
}

TEST(UdevNotifications, StartsOnSubscribeAndStopsPromptly) {
    const auto started = std::chrono::steady_clock::now();
    {
        UdevNotifications notifications;
        std::atomic<int> delivered{0};
        const DeviceSubscription first = notifications.Subscribe([&](const DeviceChange&) { ++delivered; });
        const DeviceSubscription second = notifications.Subscribe([&](const DeviceChange&) { ++delivered; });
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}
}  // namespace
