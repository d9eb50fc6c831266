// The reader's handling of the bootloader replies: steps, counters, retries and the geometry guard.
#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "link/BootReplies.h"
#include "link/FlashImage.h"

namespace {

struct ActiveRun {
    UpdaterContext ctx;
    explicit ActiveRun(std::uint32_t imageLength = 8192) {
        ctx.runParameters.store(PackBootParameters(*BootParametersFor(imageLength)));
        ctx.flashRunActive.store(true);
    }
    std::int32_t Handle(const HidReport& report) {
        ctx.bootEvent.Reset();
        ctx.bootStep.store(0);
        HandleBootloaderReply(ctx, report);
        return ctx.bootStep.load();
    }
};

HidReport Reply(std::uint8_t code) {
    HidReport report{};
    report[1] = code;
    return report;
}

HidReport Echo(std::uint8_t sectors) {
    HidReport report = Reply(0x20);
    const std::uint8_t bytes[] = {0x00, 0x01, 0x10, 0x00, 0x10, 0x02, sectors, 0x00};
    std::copy(std::begin(bytes), std::end(bytes), report.begin() + 2);
    return report;
}

HidReport PageDone(std::uint32_t sum) {
    HidReport report = Reply(0x40);
    for (int i = 0; i < 4; ++i) {
        report[8 + i] = static_cast<std::uint8_t>(sum >> (8 * i));
    }
    return report;
}

HidReport ChunkPending() {
    HidReport report = Reply(0x40);
    report[6] = 5;
    return report;
}

HidReport PageReply(std::uint8_t more) {
    HidReport report = Reply(0x50);
    report[2] = more;
    return report;
}

HidReport SectorCheck(std::uint16_t value) {
    HidReport report = Reply(0x70);
    WriteLe16(report, 2, value);
    return report;
}

TEST(BootReplies, EchoDifferingOnlyInTheSpareByteIsAccepted) {
    ActiveRun run;
    run.ctx.retryCount.store(2);
    run.ctx.confirmedSum.store(77);
    HidReport echo = Echo(2);
    echo[9] = 0xEE;
    EXPECT_EQ(run.Handle(echo), BOOT_BEGIN_SECTOR);
    EXPECT_TRUE(run.ctx.bootEvent.IsSet());
    EXPECT_EQ(run.ctx.retryCount.load(), 0);
    EXPECT_EQ(run.ctx.confirmedSum.load(), 0u);
}

TEST(BootReplies, EchoDifferingInAnyComparedByteFails) {
    for (std::size_t byte = 2; byte <= 8; ++byte) {
        ActiveRun run;
        HidReport echo = Echo(2);
        echo[byte] ^= 0x01;
        EXPECT_EQ(run.Handle(echo), BOOT_FAIL) << "byte " << byte;
        EXPECT_TRUE(run.ctx.bootEvent.IsSet());
    }
}

TEST(BootReplies, SectorRefusedEndsTheRunInsteadOfHanging) {
    ActiveRun run;
    EXPECT_EQ(run.Handle(Reply(0x30)), BOOT_SEND_CHUNK);
    HidReport refused = Reply(0x30);
    refused[2] = 1;
    EXPECT_EQ(run.Handle(refused), BOOT_FAIL);
    EXPECT_TRUE(run.ctx.bootEvent.IsSet());
}

TEST(BootReplies, IncompletePageAdvancesTheChunk) {
    ActiveRun run;
    EXPECT_EQ(run.Handle(ChunkPending()), BOOT_SEND_CHUNK);
    EXPECT_EQ(run.ctx.chunkIndex.load(), 1);
}

TEST(BootReplies, PageSumWrongTwiceThenRightGoesOn) {
    ActiveRun run;
    run.ctx.chunkIndex.store(15);
    run.ctx.pageSum.store(1000);
    EXPECT_EQ(run.Handle(PageDone(999)), BOOT_SEND_CHUNK);
    EXPECT_EQ(run.ctx.chunkIndex.load(), 0);
    EXPECT_EQ(run.ctx.pageSum.load(), 0u);
    EXPECT_EQ(run.ctx.retryCount.load(), 1);
    run.ctx.pageSum.store(1000);
    EXPECT_EQ(run.Handle(PageDone(999)), BOOT_SEND_CHUNK);
    EXPECT_EQ(run.ctx.retryCount.load(), 2);
    run.ctx.pageSum.store(1000);
    EXPECT_EQ(run.Handle(PageDone(1000)), BOOT_COMMIT_PAGE);
    EXPECT_EQ(run.ctx.retryCount.load(), 0);
    EXPECT_EQ(run.ctx.confirmedSum.load(), 1000u);
}

TEST(BootReplies, PageSumWrongThreeTimesFails) {
    ActiveRun run;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        run.ctx.pageSum.store(5);
        const std::int32_t step = run.Handle(PageDone(6));
        EXPECT_EQ(step, attempt < 3 ? BOOT_SEND_CHUNK : BOOT_FAIL) << attempt;
    }
    EXPECT_EQ(run.ctx.confirmedSum.load(), 0u);
}

TEST(BootReplies, PageRepliesMoveThroughTheSectorAndShowProgress) {
    ActiveRun run;  // two sectors
    run.ctx.chunkIndex.store(15);
    run.ctx.pageSum.store(44);
    EXPECT_EQ(run.Handle(PageReply(1)), BOOT_SEND_CHUNK);
    EXPECT_EQ(run.ctx.pageIndex.load(), 1);
    EXPECT_EQ(run.ctx.chunkIndex.load(), 0);
    EXPECT_EQ(run.ctx.pageSum.load(), 0u);
    EXPECT_EQ(run.ctx.flashProgress.load(), 100 * 1 / 32);
    run.ctx.sectorIndex.store(1);
    run.ctx.pageIndex.store(14);
    run.Handle(PageReply(1));
    EXPECT_EQ(run.ctx.flashProgress.load(), 96);
    EXPECT_EQ(run.Handle(PageReply(0)), BOOT_CHECK_SECTOR);
    EXPECT_EQ(run.ctx.pageIndex.load(), 0);
}

TEST(BootReplies, SectorChecks) {
    ActiveRun run;  // two sectors
    run.ctx.imageSum.store(500);
    run.ctx.confirmedSum.store(500);
    EXPECT_EQ(run.Handle(SectorCheck(2)), BOOT_BEGIN_SECTOR);
    EXPECT_EQ(run.ctx.sectorIndex.load(), 1);
    EXPECT_EQ(run.Handle(SectorCheck(1)), BOOT_CHECK_SECTOR);
    EXPECT_EQ(run.Handle(SectorCheck(0x0102)), BOOT_CHECK_SECTOR) << "both bytes count";
    EXPECT_EQ(run.ctx.retryCount.load(), 2);
    EXPECT_EQ(run.Handle(SectorCheck(2)), BOOT_FINISH);
    EXPECT_EQ(run.ctx.retryCount.load(), 0);
    EXPECT_EQ(run.ctx.sectorIndex.load(), 2);
}

TEST(BootReplies, SectorCheckFailingThreeTimesFails) {
    ActiveRun run;
    run.Handle(SectorCheck(0));
    run.Handle(SectorCheck(0));
    EXPECT_EQ(run.Handle(SectorCheck(0)), BOOT_FAIL);
}

TEST(BootReplies, LastSectorGoodButSumsDisagreeFails) {
    ActiveRun run(4096);
    run.ctx.imageSum.store(500);
    run.ctx.confirmedSum.store(499);
    EXPECT_EQ(run.Handle(SectorCheck(2)), BOOT_FAIL);
}

TEST(BootReplies, InterfaceRunningPastTheGeometryEndsTheRun) {
    {
        ActiveRun run;
        run.ctx.chunkIndex.store(15);
        EXPECT_EQ(run.Handle(ChunkPending()), BOOT_FAIL) << "a seventeenth chunk";
        EXPECT_EQ(run.ctx.chunkIndex.load(), 15);
    }
    {
        ActiveRun run;
        run.ctx.pageIndex.store(15);
        EXPECT_EQ(run.Handle(PageReply(1)), BOOT_FAIL) << "a seventeenth page";
    }
    {
        ActiveRun run(4096);
        run.ctx.sectorIndex.store(1);
        EXPECT_EQ(run.Handle(SectorCheck(2)), BOOT_FAIL) << "a check beyond the last sector";
    }
}

// After the last sector's check only the closing reply may come; a stray reply used to be answered
// with more commands, and its page sum changed the confirmed sum of a run that then ended well.
TEST(BootReplies, AnyBootloaderReplyAfterTheLastSectorCheckFailsTheRun) {
    for (const HidReport& stray : {Echo(1), Reply(0x30), PageDone(77), PageReply(0), SectorCheck(2)}) {
        ActiveRun run(4096);
        run.ctx.imageSum.store(500);
        run.ctx.confirmedSum.store(500);
        ASSERT_EQ(run.Handle(SectorCheck(2)), BOOT_FINISH);
        EXPECT_EQ(run.Handle(stray), BOOT_FAIL) << "reply 0x" << std::hex << int{stray[1]};
        EXPECT_EQ(run.ctx.confirmedSum.load(), 500u);
    }
}

TEST(BootReplies, NothingHappensWithoutAnActiveRun) {
    ActiveRun run;
    run.ctx.flashRunActive.store(false);
    run.ctx.chunkIndex.store(3);
    for (const HidReport& report : {Echo(2), ChunkPending(), PageReply(1), SectorCheck(2), Reply(0x30)}) {
        EXPECT_EQ(run.Handle(report), 0);
        EXPECT_FALSE(run.ctx.bootEvent.IsSet());
    }
    EXPECT_EQ(run.ctx.chunkIndex.load(), 3);
}

}  // namespace
