// Feeds arbitrary input reports to the reader's decode table, during a flashing run and outside
// one. The first bytes choose the run's geometry and whether the connect probe is active; the rest
// is cut into 65-byte reports. Besides the sanitizers it checks the promises of the reply
// handling: the counters never leave the image's geometry, progress stays below 100 and a step
// failed by a bootloader reply stays failed.
#include <cstdlib>

#include "app/UpdaterContext.h"
#include "link/FlashImage.h"
#include "link/ReportThreads.h"

namespace {
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    UpdaterContext ctx;
    const std::uint32_t sectors = data[0] % 4;  // 0: no run at all
    ctx.bootProbeActive.store((data[1] & 1) != 0);
    if (sectors != 0) {
        ctx.runParameters.store(PackBootParameters(*BootParametersFor(sectors * kSectorBytes)));
        ctx.flashRunActive.store(true);
        ctx.imageSum.store(data[1]);
    }
    data += 2;
    size -= 2;
    while (size > 0) {
        HidReport report{};
        const std::size_t n = size < kHidReportSize ? size : kHidReportSize;
        std::copy(data, data + n, report.begin());
        data += n;
        size -= n;
        const std::int32_t before = ctx.bootStep.load();
        const bool keepReading = DecodeInputReport(ctx, report);
        Require(ctx.inputReport.Sequence() == 0);  // the table itself never touches the buffer
        if (!keepReading) {
            Require(report[1] == 0x80);
            Require(ctx.bootStep.load() == 7);
            break;
        }
        Require(ctx.chunkIndex.load() < kChunksPerPage);
        Require(ctx.pageIndex.load() < kPagesPerSector);
        Require(ctx.sectorIndex.load() <= sectors);
        Require(ctx.flashProgress.load() >= 0 && ctx.flashProgress.load() < 100);
        const bool bootloaderReply = report[1] >= 0x20 && report[1] <= 0x70;
        if (bootloaderReply && before == BOOT_FAIL) {
            Require(ctx.bootStep.load() == BOOT_FAIL);
        }
        if (sectors == 0 && report[1] != 0x10) {
            Require(ctx.bootStep.load() == before);  // no run: bootloader replies change nothing
        }
    }
    return 0;
}
