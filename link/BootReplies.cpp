#include "link/BootReplies.h"

#include "app/UpdaterContext.h"

namespace {

void Wake(UpdaterContext& ctx, std::int32_t step) {
    // A failure stands even when a stray reply arrives before the engine has woken to it.
    std::int32_t current = ctx.bootStep.load();
    while (current != BOOT_FAIL && !ctx.bootStep.compare_exchange_weak(current, step)) {
    }
    ctx.bootEvent.Set();
}

void OnParametersEcho(UpdaterContext& ctx, const HidReport& report) {
    const BootParameters sent = UnpackBootParameters(ctx.runParameters.load());
    ctx.confirmedSum.store(0);
    // Byte 9 (the spare byte) is not compared.
    const bool same = ReadLe16(report, 2) == sent.pageSize && ReadLe16(report, 4) == sent.pagesPerSector &&
                      ReadLe16(report, 6) == sent.fixedBytes && report[8] == sent.sectorCount;
    if (!same) {
        Wake(ctx, BOOT_FAIL);
        return;
    }
    ctx.retryCount.store(0);
    Wake(ctx, BOOT_BEGIN_SECTOR);
}

void OnSectorReady(UpdaterContext& ctx, const HidReport& report) {
    // A sector the interface refuses to begin cannot be written: end the run instead of waiting.
    Wake(ctx, report[2] == 0 ? BOOT_SEND_CHUNK : BOOT_FAIL);
}

// Counts a failed page or sector check; true when the limit is reached.
bool CountFailure(UpdaterContext& ctx) {
    return ctx.retryCount.fetch_add(1) + 1 >= kBootRetryLimit;
}

void OnChunk(UpdaterContext& ctx, const HidReport& report) {
    if (ReadLe16(report, 6) != 0) {
        const std::uint16_t next = static_cast<std::uint16_t>(ctx.chunkIndex.load() + 1);
        if (next >= kChunksPerPage) {
            Wake(ctx, BOOT_FAIL);  // the page should have ended after its sixteenth chunk
            return;
        }
        ctx.chunkIndex.store(next);
        Wake(ctx, BOOT_SEND_CHUNK);
        return;
    }
    const std::uint32_t interfaceSum = ReadLe32(report, 8);
    if (interfaceSum == ctx.pageSum.load()) {
        ctx.confirmedSum.fetch_add(interfaceSum);
        ctx.retryCount.store(0);
        Wake(ctx, BOOT_COMMIT_PAGE);
        return;
    }
    if (CountFailure(ctx)) {
        Wake(ctx, BOOT_FAIL);
        return;
    }
    ctx.chunkIndex.store(0);
    ctx.pageSum.store(0);
    Wake(ctx, BOOT_SEND_CHUNK);
}

void OnPage(UpdaterContext& ctx, const HidReport& report) {
    ctx.chunkIndex.store(0);
    ctx.pageSum.store(0);
    if (report[2] == 0) {
        ctx.pageIndex.store(0);
        Wake(ctx, BOOT_CHECK_SECTOR);
        return;
    }
    const BootParameters sent = UnpackBootParameters(ctx.runParameters.load());
    const std::uint16_t page = static_cast<std::uint16_t>(ctx.pageIndex.load() + 1);
    if (page >= kPagesPerSector || ctx.sectorIndex.load() >= sent.sectorCount) {
        Wake(ctx, BOOT_FAIL);  // the sector should have ended after its sixteenth page
        return;
    }
    ctx.pageIndex.store(page);
    const std::uint32_t pagesPerSector = sent.pagesPerSector;
    const std::uint32_t totalPages = sent.sectorCount * pagesPerSector;
    if (totalPages != 0) {
        ctx.flashProgress.store(
            static_cast<std::int32_t>(100 * (ctx.sectorIndex.load() * pagesPerSector + page) / totalPages));
    }
    Wake(ctx, BOOT_SEND_CHUNK);
}

void OnSectorCheck(UpdaterContext& ctx, const HidReport& report) {
    if (ReadLe16(report, 2) != kSectorCheckGood) {
        Wake(ctx, CountFailure(ctx) ? BOOT_FAIL : BOOT_CHECK_SECTOR);
        return;
    }
    const std::uint32_t sectorCount = UnpackBootParameters(ctx.runParameters.load()).sectorCount;
    const std::uint16_t next = static_cast<std::uint16_t>(ctx.sectorIndex.load() + 1);
    ctx.retryCount.store(0);
    if (next > sectorCount) {
        Wake(ctx, BOOT_FAIL);  // a check beyond the image's last sector
        return;
    }
    ctx.sectorIndex.store(next);
    if (next < sectorCount) {
        Wake(ctx, BOOT_BEGIN_SECTOR);
        return;
    }
    Wake(ctx, ctx.confirmedSum.load() == ctx.imageSum.load() ? BOOT_FINISH : BOOT_FAIL);
}

}  // namespace

void HandleBootloaderReply(UpdaterContext& ctx, const HidReport& report) {
    if (!ctx.flashRunActive.load(std::memory_order_acquire)) {
        return;
    }
    // Once the last sector is checked only the closing reply may come: any other bootloader reply means the
    // interface is not where the engine is, and the run must not end well (it would otherwise go on sending
    // commands after the image was confirmed).
    if (ctx.sectorIndex.load() >= UnpackBootParameters(ctx.runParameters.load()).sectorCount) {
        Wake(ctx, BOOT_FAIL);
        return;
    }
    switch (report[1]) {
        case BOOT_REPLY_PARAMETERS:
            OnParametersEcho(ctx, report);
            break;
        case BOOT_REPLY_SECTOR_READY:
            OnSectorReady(ctx, report);
            break;
        case BOOT_REPLY_CHUNK:
            OnChunk(ctx, report);
            break;
        case BOOT_REPLY_PAGE:
            OnPage(ctx, report);
            break;
        case BOOT_REPLY_SECTOR_CHECK:
            OnSectorCheck(ctx, report);
            break;
        default:
            break;
    }
}
