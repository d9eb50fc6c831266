#include "link/FlashEngine.h"

#include <cstdio>

#include "app/UpdaterContext.h"
#include "link/BootReplies.h"
#include "link/DeviceLink.h"
#include "platform/ThreadCpuTime.h"

FlashEnginePort ChannelPort(DeviceLink& link) {
    FlashEnginePort port;
    port.writeReport = [&link](const HidReport& report) { return link.WriteReport(report); };
    port.stopReader = [&link] { link.StopReader(); };
    port.stopWriter = [&link] { link.StopWriter(); };
    return port;
}

FlashEngine::FlashEngine(UpdaterContext& ctx, FlashEnginePort port, FlashEngineOptions options)
    : ctx_(ctx), port_(std::move(port)), options_(std::move(options)) {}

FlashEngine::~FlashEngine() {
    Cancel();
    Join();
}

void FlashEngine::Cancel() {
    cancel_.store(true);
    ctx_.bootEvent.Set();
}

void FlashEngine::Join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool FlashEngine::Arm() {
    if (ctx_.flashRunActive.load(std::memory_order_acquire)) {
        return false;
    }
    Join();
    ctx_.ftpDone.store(false, std::memory_order_release);
    // Everything the reader and the engine count starts from zero; bootEvent is re-armed here, on
    // the caller's thread, so the controller's first probe cannot be lost to a late reset.
    ctx_.sectorIndex.store(0);
    ctx_.pageIndex.store(0);
    ctx_.chunkIndex.store(0);
    ctx_.pageSum.store(0);
    ctx_.confirmedSum.store(0);
    ctx_.retryCount.store(0);
    ctx_.flashProgress.store(0);
    ctx_.bootStep.store(BOOT_SEND_PREPARED);
    ctx_.bootEvent.Reset();
    cancel_.store(false);
    imageConfirmed_ = false;

    armedImage_ = std::move(ctx_.imageBuffer);
    ctx_.imageBuffer = {};
    const BootParameters parameters = ctx_.bootParameters;
    const std::size_t expected = std::size_t{parameters.sectorCount} * kSectorBytes;
    if (expected == 0 || armedImage_.size() != expected) {
        armedImage_ = {};
        Complete(false);
        return true;
    }
    ctx_.runParameters.store(PackBootParameters(parameters));
    ctx_.flashRunActive.store(true, std::memory_order_release);
    return true;
}

bool FlashEngine::Start() {
    if (!Arm()) {
        return false;
    }
    if (ctx_.flashRunActive.load(std::memory_order_acquire)) {
        thread_ = std::thread([this, image = std::move(armedImage_)]() mutable {
            const auto cpuAtStart = ThreadCpuTime();
            Run(std::move(image));
            lastRunCpuTime_.store(ThreadCpuTime() - cpuAtStart);
        });
    }
    return true;
}

bool FlashEngine::Prepare() {
    return Arm();
}

void FlashEngine::RunHere() {
    if (ctx_.flashRunActive.load(std::memory_order_acquire) && !armedImage_.empty()) {
        Run(std::move(armedImage_));
    }
    armedImage_ = {};
}

void FlashEngine::Run(std::vector<std::uint8_t> image) {
    for (bool first = true;; first = false) {
        if (!ctx_.bootEvent.WaitFor(first ? options_.startTimeout : options_.replyTimeout)) {
            break;
        }
        ctx_.bootEvent.Reset();
        // Looked at after the re-arm, so that a cancel whose signal the re-arm took is still seen.
        if (cancel_.load()) {
            break;
        }
        const std::int32_t step = ctx_.bootStep.load();
        HidReport report{};
        if (step == BOOT_CLOSE) {
            if (!imageConfirmed_) {
                // The interface restarted without the image having been written and confirmed:
                // the channel goes down with it, but the run is no success.
                port_.stopReader();
                port_.stopWriter();
                break;
            }
            report[1] = BOOT_CMD_CLOSE;
            ctx_.outputReport.Store(report);
            port_.stopReader();
            port_.stopWriter();
            port_.writeReport(report);
            image = {};
            Complete(true);
            return;
        }
        if (!BuildCommand(step, image, report)) {
            break;
        }
        if (!port_.writeReport(report)) {
            break;  // the interface is gone; no reply will come
        }
    }
    image = {};
    Complete(false);
}

bool FlashEngine::BuildCommand(std::int32_t step, const std::vector<std::uint8_t>& image, HidReport& report) {
    const BootParameters parameters = UnpackBootParameters(ctx_.runParameters.load());
    switch (step) {
        case BOOT_SEND_PARAMETERS:
            report[1] = BOOT_CMD_PARAMETERS;
            WriteLe16(report, 2, parameters.pageSize);
            WriteLe16(report, 4, parameters.pagesPerSector);
            WriteLe16(report, 6, parameters.fixedBytes);
            report[8] = parameters.sectorCount;
            report[9] = parameters.spare;
            break;
        case BOOT_BEGIN_SECTOR:
            report[1] = BOOT_CMD_BEGIN_SECTOR;
            break;
        case BOOT_SEND_CHUNK:
            if (!BuildChunk(image, report)) {
                return false;
            }
            break;
        case BOOT_COMMIT_PAGE:
            report[1] = BOOT_CMD_COMMIT_PAGE;
            break;
        case BOOT_CHECK_SECTOR:
            report[1] = BOOT_CMD_CHECK_SECTOR;
            report[2] = static_cast<std::uint8_t>(ctx_.sectorIndex.load() & 0xFF);
            break;
        case BOOT_FINISH:
            report[1] = BOOT_CMD_FINISH;
            imageConfirmed_ = true;
            break;
        case BOOT_RESTART:
            report[1] = BOOT_CMD_RESTART;
            break;
        case BOOT_SEND_PREPARED:
            report = ctx_.outputReport.Load();
            return true;
        default:  // BOOT_FAIL and anything unknown
            return false;
    }
    ctx_.outputReport.Store(report);
    return true;
}

bool FlashEngine::BuildChunk(const std::vector<std::uint8_t>& image, HidReport& report) {
    const std::uint16_t page = ctx_.pageIndex.load();
    const std::uint16_t chunk = ctx_.chunkIndex.load();
    const std::size_t offset = std::size_t{ctx_.sectorIndex.load()} * kSectorBytes +
                               std::size_t{page} * kPageBytes + chunk * kChunkBytes;
    if (page >= kPagesPerSector || chunk >= kChunksPerPage || offset + kChunkBytes > image.size()) {
        return false;
    }
    report[1] = BOOT_CMD_CHUNK;
    WriteLe16(report, 2, page);
    WriteLe16(report, 4, chunk);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kChunkBytes; ++i) {
        const std::uint8_t value = image[offset + i];
        report[6 + i] = value;
        sum += value;
        if (options_.diagnostic) {
            char line[40];
            std::snprintf(line, sizeof line, "index: %d; value: %2x\n", static_cast<int>(i), value);
            options_.diagnostic(line);
        }
    }
    ctx_.pageSum.fetch_add(sum);
    return true;
}

void FlashEngine::Complete(bool success) {
    ctx_.flashRunActive.store(false, std::memory_order_release);
    ctx_.ftpResult.store(success ? 0 : 1, std::memory_order_relaxed);
    ctx_.ftpDone.store(true, std::memory_order_release);
}
