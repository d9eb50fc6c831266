#pragma once
// A device link on the interface emulator, ready to connect: the shared context, an emulated bus,
// a fake clock (the 2-second settle pause returns at once), a queued window and the link itself.
//
//     LinkBed bed;
//     EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
//     bed.SetHidBootloader(true);
//     bed.Connect();                                  // ConnectInterface on the test thread
//     ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
#include <atomic>
#include <cstdint>

#include "app/UpdaterContext.h"
#include "link/DeviceLink.h"
#include "sim/EmulatedHidBus.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LinkHelpers.h"

struct LinkBed {
    UpdaterContext ctx;
    EmulatedHidBus bus;
    FakeClock clock;
    QueuedLinkWindow window;
    std::atomic<int> statusShown{0};
    DeviceLink link{ctx, bus.Hid(), bus.Notifications(), bus.Volumes(), clock};

    LinkBed() {
        link.SetShowLinkStatus([this] { ++statusShown; });
    }
    void SetHidBootloader(bool answer) {
        link.SetHasHidBootloader([answer](const std::u16string&) { return answer; });
    }
    void Connect() { link.ConnectInterface(window); }
    // Runs the queued device-change notifications on this thread, as the window would.
    std::size_t DeliverNotifications() { return window.Drain(link); }
    bool WaitForMode(std::int32_t mode) {
        return WaitUntil([&] { return ctx.iUsbConnectSts.load() == mode; });
    }
};
