#include "link/ReportThreads.h"

#include "app/UpdaterContext.h"
#include "link/BootReplies.h"

namespace {
constexpr std::uint8_t kStatusReply = 0x10;
constexpr std::uint8_t kClosingReply = 0x80;
constexpr std::uint8_t kBootloaderReady = 0x00;
constexpr std::uint8_t kApplicationRunning = 0x21;

void DecodeStatusReply(UpdaterContext& ctx, std::uint8_t status) {
    if (status == kBootloaderReady) {
        if (ctx.bootProbeActive.load()) {
            ctx.bootProbeActive.store(false);
            ctx.iUsbConnectSts.store(USB_BOOTLOADER);
        } else {
            ctx.bootStep.store(1);
            ctx.bootEvent.Set();
        }
    } else if (status == kApplicationRunning) {
        if (ctx.bootProbeActive.load()) {
            ctx.iUsbConnectSts.store(USB_APPLICATION);  // the probe stays active: 0x00 may follow
        } else {
            ctx.bootStep.store(8);
            ctx.bootEvent.Set();
        }
    }
}
}  // namespace

bool DecodeInputReport(UpdaterContext& ctx, const HidReport& report) {
    switch (report[1]) {
        case kStatusReply:
            DecodeStatusReply(ctx, report[2]);
            return true;
        case 0x20:
        case 0x30:
        case 0x40:
        case 0x50:
        case 0x70:
            HandleBootloaderReply(ctx, report);
            return true;
        case kClosingReply:
            ctx.bootStep.store(7);
            ctx.bootEvent.Set();
            return false;
        default:
            return true;  // an application reply: the reply decoder takes it from inputReport
    }
}

void ReaderThread(UpdaterContext& ctx, HidReadHandle& handle, ChannelEvents& events) {
    ctx.chunkIndex.store(0);
    ctx.pageIndex.store(0);
    ctx.sectorIndex.store(0);
    bool keepReading = true;
    while (keepReading) {
        HidReport report{};
        const HidReadResult result = handle.Read(report, events.readEvent, events.readerStopEvent);
        if (result != HidReadResult::Report) {
            return;  // stopped, or the device is gone: nothing new to decode
        }
        events.readEvent.Reset();
        ctx.inputReport.Store(report);
        keepReading = DecodeInputReport(ctx, report);
    }
}

void WriterThread(const ReportBuffer& outputReport, ChannelEvents& events,
                  const std::function<bool(const HidReport&)>& write) {
    for (;;) {
        if (ManualResetEvent::WaitAny({&events.writerStopEvent, &events.sendEvent}) == 0) {
            return;
        }
        events.sendEvent.Reset();
        (void)write(outputReport.Load());
    }
}
