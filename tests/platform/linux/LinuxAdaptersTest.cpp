// The Linux adapters as far as this machine allows (no hidraw
// devices, maybe no udev): they build, list nothing, refuse bad paths and shut down promptly.
#include <gtest/gtest.h>

#include <thread>

#include "platform/linux/HidapiBus.h"
#include "platform/linux/UdevNotifications.h"

namespace {
using namespace std::chrono_literals;

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
