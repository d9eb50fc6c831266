// Feeds arbitrary input reports to DecodeReplies in every awaiting state. The first byte chooses
// the request in flight and the flags the controller set; the rest is cut into 65-byte reports,
// each followed by a decoder tick. Besides the sanitizers it checks that a flag is only ever
// cleared by the reply that matches it and that a failed read never changes the record.
#include <cstdlib>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"

namespace {
void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Request {
    std::int32_t type;
    std::int32_t direction;
};
constexpr Request kRequests[] = {{1, 0}, {6, 0}, {7, 0}, {13, 0}, {1, 1}, {6, 1}, {10, 1}, {13, 1}};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    UpdaterContext ctx;
    ctx.iUsbConnectSts.store(USB_APPLICATION);
    ctx.mfg_id = u"QD7720R";
    CommandSet commands(ctx);
    const Request request = kRequests[data[0] & 7];
    ctx.featureReadRequest = (data[0] & 0x10) != 0;
    ctx.statusPollActive = (data[0] & 0x20) != 0;
    ctx.configWritePending = (data[0] & 0x40) != 0;
    commands.IssueCommand(request.type, 1, request.direction);
    ++data;
    --size;
    while (size > 0) {
        HidReport report{};
        const std::size_t n = size < kHidReportSize ? size : kHidReportSize;
        std::copy(data, data + n, report.begin());
        data += n;
        size -= n;

        const bool readBefore = ctx.readReplyAwaited;
        const bool writeBefore = ctx.writeReplyAwaited;
        const bool pollBefore = ctx.statusPollActive;
        const DeviceConfig configBefore = ctx.deviceConfig;
        ctx.inputReport.Store(report);
        commands.DecodeReplies();
        const std::uint8_t code = report[1];
        if (readBefore && !ctx.readReplyAwaited) {
            Require(code == 0x1A || code == 0x65);
        }
        if (writeBefore && !ctx.writeReplyAwaited) {
            Require(code == 0x1B || code == 0x61 || code == 0x66 || code == 0x80);
        }
        if (pollBefore && !ctx.statusPollActive) {
            Require(code == 0x62 && (report[3] == 2 || report[3] == 3));
        }
        if (!(readBefore && code == 0x1A && report[2] == 0x16)) {
            Require(ctx.deviceConfig == configBefore);
        }
        for (std::size_t i = 43; i < kDeviceConfigSize && readBefore && code == 0x1A && report[2] == 0x16;
             ++i) {
            Require(ctx.deviceConfig.bytes()[i] == 0);
        }
        // A report the decoder has seen is never taken twice.
        const auto status = ctx.replyStatus.load();
        const DeviceConfig after = ctx.deviceConfig;
        commands.DecodeReplies();
        Require(ctx.replyStatus.load() == status || code == 0x60 || code == 0x62);
        Require(ctx.deviceConfig == after);
    }
    return 0;
}
