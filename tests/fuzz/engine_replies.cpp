// Runs the flashing engine against an interface that answers every command with arbitrary bytes.
// The first byte chooses one of three images; the rest is cut into 65-byte replies, one per command
// the engine writes, decoded by the reader's table as they would arrive. When the replies run out
// the interface is gone (the write fails) and the run must end. Besides the sanitizers (which see
// any read outside the image) it checks that the run completes and that success needs the whole
// image confirmed. The engine runs on the fuzzer's own thread, with no thread start and no wait.
#include <cstdlib>
#include <vector>

#include "app/UpdaterContext.h"
#include "link/FlashEngine.h"
#include "link/ReportThreads.h"

namespace {
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    UpdaterContext ctx;
    // Three images (one byte, under one sector, two sectors), made once: the replies are what varies.
    static const std::vector<std::vector<std::uint8_t>> kImages = [] {
        std::vector<std::vector<std::uint8_t>> images;
        for (std::size_t length : {1u, 3001u, 6001u}) {
            std::vector<std::uint8_t>& image = images.emplace_back(length);
            for (std::size_t i = 0; i < length; ++i) {
                image[i] = static_cast<std::uint8_t>(i * 31 + length);
            }
        }
        return images;
    }();
    const std::vector<std::uint8_t>& image = kImages[data[0] % 3];
    if (!LoadFlashImage(ctx, image)) {
        return 0;
    }
    const std::uint32_t imageSum = ctx.imageSum.load();
    ++data;
    --size;

    std::size_t replies = 0;
    bool sawFinish = false;
    FlashEnginePort port;
    port.writeReport = [&](const HidReport& command) {
        Require(command[1] != 0x04 || (ReadLe16(command, 2) < 16 && ReadLe16(command, 4) < 16));
        sawFinish = sawFinish || command[1] == 0x08;
        if (size == 0 || replies > 20000) {
            return false;
        }
        HidReport reply{};
        const std::size_t n = size < kHidReportSize ? size : kHidReportSize;
        std::copy(data, data + n, reply.begin());
        data += n;
        size -= n;
        ++replies;
        ctx.inputReport.Store(reply);
        DecodeInputReport(ctx, reply);
        return true;
    };
    port.stopReader = [] {};
    port.stopWriter = [] {};
    FlashEngineOptions options;
    options.replyTimeout = std::chrono::milliseconds(0);  // a command left unanswered ends the run
    {
        // The whole run on this thread: every command is answered before writeReport returns.
        FlashEngine engine(ctx, port, options);
        Require(engine.Prepare());
        HidReport probe{};
        probe[1] = 0x01;
        ctx.outputReport.Store(probe);
        ctx.bootEvent.Set();
        engine.RunHere();
    }
    Require(ctx.ftpDone.load(std::memory_order_acquire));
    Require(!ctx.flashRunActive.load());
    Require(ctx.imageBuffer.empty());
    if (ctx.ftpResult.load() == 0) {
        Require(sawFinish);
        Require(ctx.confirmedSum.load() == imageSum);
    }
    return 0;
}
