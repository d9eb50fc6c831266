// Subscriptions to device notifications: ending one waits out a call under way elsewhere and is
// final, a sink may end its own, a subscription may outlive its port; and how the Linux adapter
// names the devices of udev events and mount-table changes.
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>

#include "platform/DeviceChangeSinks.h"
#include "platform/ManualResetEvent.h"
#include "platform/linux/UdevNotifications.h"
#include "tests/support/LinkHelpers.h"

namespace {
using namespace std::chrono_literals;

const DeviceChange kRemoval{DBT_DEVICEREMOVECOMPLETE, DeviceKind::HidInterface, "/dev/hidraw2"};

TEST(DeviceSubscription, EndingItWaitsForACallUnderWayAndNoCallFollows) {
    DeviceChangeSinks sinks;
    ManualResetEvent entered, gate;
    std::atomic<int> calls{0};
    DeviceSubscription subscription = sinks.Add([&](const DeviceChange& change) {
        EXPECT_EQ(change, kRemoval);
        ++calls;
        entered.Set();
        gate.Wait();
    });
    std::thread notifier([&] { sinks.Deliver(kRemoval); });
    entered.Wait();
    std::atomic<bool> ended{false};
    std::thread owner([&] {
        subscription.Cancel();
        ended = true;
    });
    EXPECT_FALSE(WaitUntil([&] { return ended.load(); }, 50ms));  // still inside the sink
    gate.Set();
    owner.join();
    notifier.join();
    EXPECT_TRUE(ended);
    sinks.Deliver(kRemoval);
    EXPECT_EQ(calls.load(), 1);
    EXPECT_EQ(sinks.Count(), 0u);
}

TEST(DeviceSubscription, ASinkMayEndItsOwnAndASubscriptionMayOutliveItsPort) {
    DeviceSubscription kept;
    int calls = 0;
    {
        DeviceChangeSinks sinks;
        DeviceSubscription self;
        self = sinks.Add([&](const DeviceChange&) {
            ++calls;
            self.Cancel();  // returns at once: the call under way is this one
        });
        kept = sinks.Add([](const DeviceChange&) {});
        sinks.Deliver(kRemoval);
        sinks.Deliver(kRemoval);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(sinks.Count(), 1u);
    }
    EXPECT_TRUE(kept.Active());
    kept.Cancel();  // the port is gone: nothing left to do
    EXPECT_FALSE(kept.Active());
}

TEST(UdevNotifications, NamesDevicesAsTheHidBusAndTheVolumeScanListThem) {
    EXPECT_EQ(HidrawPath("/dev/hidraw3", "hidraw3"), "/dev/hidraw3");
    EXPECT_EQ(HidrawPath(nullptr, "hidraw3"), "/dev/hidraw3");
    EXPECT_EQ(HidrawPath(nullptr, nullptr), "");

    std::istringstream before(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "25 22 0:21 / /proc rw shared:12 - proc proc rw\n");
    std::istringstream after(
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "25 22 0:21 / /proc rw shared:12 - proc proc rw\n"
        "31 22 8:17 / /media/user/QD7720R rw shared:20 - vfat /dev/sdb1 rw\n"
        "32 22 8:33 / /media/user/MY\\040STICK rw shared:21 - vfat /dev/sdc1 rw\n"
        "33 22 8:1 /home /srv/bound rw shared:22 - ext4 /dev/sda1 rw\n");
    const MountedRoots old = ReadMountedRoots(before);
    const MountedRoots now = ReadMountedRoots(after);
    EXPECT_EQ(MountChanges(old, now),
              (std::vector<DeviceChange>{{DBT_DEVICEARRIVAL, DeviceKind::Volume, "/media/user/MY STICK/"},
                                         {DBT_DEVICEARRIVAL, DeviceKind::Volume, "/media/user/QD7720R/"}}));
    EXPECT_TRUE(MountChanges(now, now).empty());
    EXPECT_EQ(RootOfSource(now, "/dev/sdb1"), "/media/user/QD7720R/");
    EXPECT_EQ(RootOfSource(now, "/dev/sdd"), "");
}
}  // namespace
