// The writer thread and the synchronous write of the flashing engine.
#include <gtest/gtest.h>

#include <thread>

#include "link/ReportThreads.h"
#include "tests/support/LinkBed.h"

namespace {
using namespace std::chrono_literals;

struct GatedWrites {
    std::mutex mutex;
    std::vector<HidReport> written;
    ManualResetEvent entered;  // the first write has started
    ManualResetEvent release;  // lets the first write finish
    bool Write(const HidReport& report) {
        bool first = false;
        {
            std::lock_guard lock(mutex);
            first = written.empty();
            written.push_back(report);
        }
        if (first) {
            entered.Set();
            release.Wait();
        }
        return true;
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return written.size();
    }
};

TEST(WriterThread, TwoSendsDuringAWriteGiveOneMoreWriteOfTheLatestBuffer) {
    ReportBuffer output;
    ChannelEvents events;
    GatedWrites writes;
    std::thread writer(
        [&] { WriterThread(output, events, [&](const HidReport& r) { return writes.Write(r); }); });

    output.SetByte(1, 0x1A);
    events.sendEvent.Set();
    ASSERT_TRUE(writes.entered.WaitFor(5s));
    output.SetByte(1, 0x60);
    events.sendEvent.Set();
    output.SetByte(1, 0x62);
    events.sendEvent.Set();
    writes.release.Set();
    ASSERT_TRUE(WaitUntil([&] { return writes.Count() == 2 && !events.sendEvent.IsSet(); }));
    events.writerStopEvent.Set();
    writer.join();

    ASSERT_EQ(writes.written.size(), 2u);
    EXPECT_EQ(writes.written[0][1], 0x1A);
    EXPECT_EQ(writes.written[1][1], 0x62);
}

TEST(WriterThread, AStopSignalledWithASendSendsNothing) {
    ReportBuffer output;
    ChannelEvents events;
    GatedWrites writes;
    events.sendEvent.Set();
    events.writerStopEvent.Set();
    std::thread writer(
        [&] { WriterThread(output, events, [&](const HidReport& r) { return writes.Write(r); }); });
    writer.join();
    EXPECT_EQ(writes.Count(), 0u);
}

TEST(WriterThread, AFailedWriteIsNotRetriedAndTheWriterGoesOn) {
    ReportBuffer output;
    ChannelEvents events;
    std::atomic<int> attempts{0};
    std::thread writer([&] {
        WriterThread(output, events, [&](const HidReport&) {
            ++attempts;
            return false;
        });
    });
    events.sendEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return attempts.load() == 1 && !events.sendEvent.IsSet(); }));
    events.sendEvent.Set();
    ASSERT_TRUE(WaitUntil([&] { return attempts.load() == 2; }));
    events.writerStopEvent.Set();
    writer.join();
    EXPECT_EQ(attempts.load(), 2);
}

TEST(WriterOnEmulator, TheProbeSentRightAfterTheStartIsNeverLost) {
    for (int round = 0; round < 20; ++round) {
        LinkBed bed;
        EmulatedInterface& box = bed.bus.PlugInterface("QD7720R", DeviceMode::Bootloader);
        bed.SetHidBootloader(true);
        bed.Connect();
        ASSERT_TRUE(box.WaitForReceived(1)) << round;
        ASSERT_TRUE(bed.WaitForMode(USB_BOOTLOADER)) << round;
    }
}

TEST(WriterOnEmulator, StopWriterLeavesTheReaderAndTheEngineWritesItself) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("QD7720R", DeviceMode::Bootloader);
    bed.Connect();
    bed.link.StopWriter();
    bed.ctx.outputReport.SetByte(1, 0x1A);
    bed.link.SignalSend();  // nobody sends it now

    EXPECT_TRUE(bed.link.WriteReport(MakeReport(0x01)));
    ASSERT_TRUE(WaitUntil([&] { return bed.ctx.inputReport.Sequence() == 1; }));
    EXPECT_EQ(bed.ctx.inputReport.Byte(1), 0x10);
    EXPECT_EQ(bed.ctx.bootStep.load(), 1);  // no probe active: the reply goes to the engine
    EXPECT_TRUE(bed.ctx.bootEvent.IsSet());
    EXPECT_TRUE(box.WaitUntilIdle());
    ASSERT_EQ(box.ReceivedCount(), 1u);
    EXPECT_EQ(box.ReceivedReports()[0][1], 0x01);
    EXPECT_TRUE(bed.link.ReaderRunning());

    bed.link.StopReader();
    ASSERT_TRUE(WaitUntil([&] { return !bed.link.ReaderRunning(); }));
}
}  // namespace
