// The reader thread: the decode table, the 0x80 end, stops while a read is pending, failed reads,
// and the connect probe's replies on the emulator.
#include <gtest/gtest.h>

#include <deque>
#include <thread>

#include "link/ReportThreads.h"
#include "tests/support/LinkBed.h"

namespace {
using namespace std::chrono_literals;

// A read handle that plays a script: each Read takes the next outcome; once the script is used up
// it waits for the stop event, as a pending read on a silent device does.
class ScriptedReadHandle final : public HidReadHandle {
  public:
    struct Step {
        HidReadResult result;
        HidReport report{};
    };
    explicit ScriptedReadHandle(std::deque<Step> script) : script_(std::move(script)) {}
    HidReadResult Read(HidReportBytes& report, ManualResetEvent& completion,
                       const ManualResetEvent& stop) override {
        ++reads;
        if (script_.empty()) {
            waiting.Set();
            stop.Wait();
            return HidReadResult::Stopped;
        }
        const Step step = script_.front();
        script_.pop_front();
        if (step.result == HidReadResult::Report) {
            report = step.report;
            completion.Set();
        }
        return step.result;
    }
    std::atomic<int> reads{0};
    ManualResetEvent waiting;

  private:
    std::deque<Step> script_;
};

ScriptedReadHandle::Step Report(HidReport report) {
    return {HidReadResult::Report, report};
}

TEST(ReaderDecode, StatusZeroDuringTheProbeMeansBootloaderOtherwiseItWakesTheEngine) {
    UpdaterContext ctx;
    ctx.bootProbeActive.store(true);
    EXPECT_TRUE(DecodeInputReport(ctx, MakeReport(0x10, {0x00})));
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
    EXPECT_FALSE(ctx.bootProbeActive.load());
    EXPECT_FALSE(ctx.bootEvent.IsSet());

    EXPECT_TRUE(DecodeInputReport(ctx, MakeReport(0x10, {0x00})));
    EXPECT_EQ(ctx.bootStep.load(), 1);
    EXPECT_TRUE(ctx.bootEvent.IsSet());
}

TEST(ReaderDecode, ApplicationStatusKeepsTheProbeSoALaterZeroStillMeansBootloader) {
    UpdaterContext ctx;
    ctx.bootProbeActive.store(true);
    DecodeInputReport(ctx, MakeReport(0x10, {0x21}));
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_TRUE(ctx.bootProbeActive.load());
    DecodeInputReport(ctx, MakeReport(0x10, {0x00}));
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
    EXPECT_FALSE(ctx.bootEvent.IsSet());

    DecodeInputReport(ctx, MakeReport(0x10, {0x21}));  // the probe is over: the engine restarts the box
    EXPECT_EQ(ctx.bootStep.load(), 8);
    EXPECT_TRUE(ctx.bootEvent.IsSet());
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
}

TEST(ReaderDecode, OtherStatusesAndOtherCodesChangeNothing) {
    UpdaterContext ctx;
    ctx.bootProbeActive.store(true);
    ctx.iUsbConnectSts.store(USB_CONNECTING);
    for (const HidReport& report : {MakeReport(0x10, {0x05}), MakeReport(0x1A, {0x16}), MakeReport(0x00),
                                    MakeReport(0x65, {0x00}), MakeReport(0xFF)}) {
        EXPECT_TRUE(DecodeInputReport(ctx, report));
    }
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_CONNECTING);
    EXPECT_TRUE(ctx.bootProbeActive.load());
    EXPECT_EQ(ctx.bootStep.load(), 0);
    EXPECT_FALSE(ctx.bootEvent.IsSet());
}

TEST(ReaderDecode, ClosingReplySetsStepSevenAndEndsTheReader) {
    UpdaterContext ctx;
    EXPECT_FALSE(DecodeInputReport(ctx, MakeReport(0x80)));
    EXPECT_EQ(ctx.bootStep.load(), 7);
    EXPECT_TRUE(ctx.bootEvent.IsSet());
}

TEST(ReaderThread, ResetsTheEngineCountersWhenItStarts) {
    UpdaterContext ctx;
    ctx.chunkIndex.store(5);
    ctx.pageIndex.store(6);
    ctx.sectorIndex.store(7);
    ChannelEvents events;
    events.readerStopEvent.Set();
    ScriptedReadHandle handle({});
    ReaderThread(ctx, handle, events);
    EXPECT_EQ(ctx.chunkIndex.load(), 0);
    EXPECT_EQ(ctx.pageIndex.load(), 0);
    EXPECT_EQ(ctx.sectorIndex.load(), 0);
}

TEST(ReaderThread, AClosingReplyEndsItAndALaterReportIsNotRead) {
    UpdaterContext ctx;
    ChannelEvents events;
    ScriptedReadHandle handle(
        {Report(MakeReport(0x1A, {0x16})), Report(MakeReport(0x80)), Report(MakeReport(0x1B, {0x2C}))});
    std::thread reader([&] { ReaderThread(ctx, handle, events); });
    reader.join();  // ends without any stop event
    EXPECT_EQ(handle.reads.load(), 2);
    EXPECT_EQ(ctx.inputReport.Byte(1), 0x80);
    EXPECT_EQ(ctx.inputReport.Sequence(), 2u);
    EXPECT_FALSE(events.readEvent.IsSet());  // reset after each completed read
}

TEST(ReaderThread, AStopWhileAReadIsPendingEndsItWithoutDecoding) {
    UpdaterContext ctx;
    ctx.bootProbeActive.store(true);
    ctx.inputReport.Store(MakeReport(0x10, {0x00}));  // an old report that must not be decoded again
    ChannelEvents events;
    ScriptedReadHandle handle({});
    std::thread reader([&] { ReaderThread(ctx, handle, events); });
    ASSERT_TRUE(handle.waiting.WaitFor(5s));
    events.readerStopEvent.Set();
    reader.join();
    EXPECT_EQ(ctx.inputReport.Sequence(), 1u);
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_NOT_CONNECTED);
    EXPECT_TRUE(ctx.bootProbeActive.load());
}

TEST(ReaderThread, AFailedReadEndsItWithoutDecodingTheOldReportAgain) {
    UpdaterContext ctx;
    ctx.bootProbeActive.store(true);
    ChannelEvents events;
    ScriptedReadHandle handle({Report(MakeReport(0x10, {0x00})), {HidReadResult::Failed}});
    std::thread reader([&] { ReaderThread(ctx, handle, events); });
    reader.join();
    EXPECT_EQ(handle.reads.load(), 2);  // no retry after the failure
    EXPECT_EQ(ctx.inputReport.Sequence(), 1u);
    EXPECT_EQ(ctx.iUsbConnectSts.load(), USB_BOOTLOADER);
    // Decoding the same report a second time would have woken the engine with step 1.
    EXPECT_EQ(ctx.bootStep.load(), 0);
    EXPECT_FALSE(ctx.bootEvent.IsSet());
}

TEST(ReaderOnEmulator, ProbeAnsweredByTheApplicationThenAZeroStatusSetsBootloader) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QH772ER");
    bed.SetHidBootloader(true);
    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    EXPECT_TRUE(bed.ctx.bootProbeActive.load());
    EXPECT_EQ(bed.ctx.inputReport.Byte(1), 0x10);
    EXPECT_EQ(bed.ctx.inputReport.Byte(2), 0x21);

    box.SendInput(MakeReport(0x10, {0x00}));
    ASSERT_TRUE(bed.WaitForMode(USB_BOOTLOADER));
    EXPECT_FALSE(bed.ctx.bootProbeActive.load());
}

TEST(ReaderOnEmulator, AnApplicationReplyStaysInTheInputBufferWhole) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
    bed.Connect();
    HidReport reply = MakeReport(0x1A, {0x16});
    for (std::size_t i = 3; i < reply.size(); ++i) {
        reply[i] = static_cast<std::uint8_t>(i);
    }
    box.SendInput(reply);
    ASSERT_TRUE(WaitUntil([&] { return bed.ctx.inputReport.Sequence() == 1; }));
    EXPECT_EQ(bed.ctx.inputReport.Load(), reply);
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_FALSE(bed.ctx.bootEvent.IsSet());
}

TEST(ReaderOnEmulator, AClosingReplyEndsTheReaderButNotTheWriter) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
    bed.Connect();
    box.SendInput(MakeReport(0x80));
    ASSERT_TRUE(WaitUntil([&] { return !bed.link.ReaderRunning(); }));
    EXPECT_EQ(bed.ctx.bootStep.load(), 7);
    box.SendInput(MakeReport(0x1B, {0x2C}));
    bed.ctx.outputReport.SetByte(1, 0x1A);
    bed.link.SignalSend();
    ASSERT_TRUE(box.WaitForReceived(1));
    EXPECT_EQ(bed.ctx.inputReport.Byte(1), 0x80);  // the later reply waits for the next connect
}

TEST(ReaderOnEmulator, UnpluggingMidReadEndsTheReaderCleanly) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R");
    bed.SetHidBootloader(true);
    bed.Connect();
    ASSERT_TRUE(bed.WaitForMode(USB_APPLICATION));
    const std::uint64_t before = bed.ctx.inputReport.Sequence();

    box.Unplug();  // the removal notification is not delivered: only the read fails
    ASSERT_TRUE(WaitUntil([&] { return !bed.link.ReaderRunning(); }));
    EXPECT_EQ(bed.ctx.inputReport.Sequence(), before);
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_APPLICATION);
    EXPECT_FALSE(bed.link.WriteReport(MakeReport(0x1A)));
    bed.link.CloseChannel();
    EXPECT_FALSE(bed.link.ChannelOpen());
}
}  // namespace
