#include "config/ConfigCodecs.h"

#include <algorithm>

#include "app/UpdaterContext.h"

namespace {
constexpr std::size_t kStatusByte = 2;
constexpr std::size_t kMcuIdByte = 3;
constexpr std::size_t kSoftwareIdByte = 19;
constexpr std::size_t kSoftwareBuildByte = 21;
constexpr std::size_t kReplyRecordByte = 22;
constexpr std::size_t kReplyRecordBytes = kHidReportSize - kReplyRecordByte;  // 43: record bytes 0..42
constexpr std::size_t kPayloadByte = 2;

static_assert(kReplyRecordBytes == 43);
static_assert(kPayloadByte + kDeviceConfigSize <= kHidReportSize);
}  // namespace

ConfigReply ParseConfigReply(const HidReport& report) {
    ConfigReply reply;
    reply.status = report[kStatusByte];
    std::copy_n(report.begin() + kMcuIdByte, reply.mcuId.size(), reply.mcuId.begin());
    reply.softwareId = ReadLe16(report, kSoftwareIdByte);
    reply.softwareBuild = report[kSoftwareBuildByte];
    std::copy_n(report.begin() + kReplyRecordByte, kReplyRecordBytes, reply.config.bytes().begin());
    return reply;  // record bytes 43..45 stay zero
}

OverlayConfig ParseOverlayReply(const HidReport& report) {
    OverlayConfig overlay;
    std::copy_n(report.begin() + kPayloadByte, kOverlayConfigSize, overlay.bytes().begin());
    return overlay;
}

void LayConfigCommand(const DeviceConfig& config, HidReport& report) {
    report[1] = CODE_WRITE_CONFIG;
    std::copy(config.bytes().begin(), config.bytes().end(), report.begin() + kPayloadByte);
}

void LayOverlayCommand(const OverlayConfig& overlay, HidReport& report) {
    report[1] = CODE_WRITE_OVERLAY;
    std::copy(overlay.bytes().begin(), overlay.bytes().end(), report.begin() + kPayloadByte);
}

std::uint8_t DecodeConfigReply(UpdaterContext& ctx, const HidReport& report) {
    const ConfigReply reply = ParseConfigReply(report);
    ctx.replyStatus.store(reply.status);
    if (reply.status == CONFIG_STATUS_OK) {
        ctx.mcuId = reply.mcuId;
        ctx.softwareId = reply.softwareId;
        ctx.softwareBuild = reply.softwareBuild;
        ctx.deviceConfig = reply.config;
        ctx.mcu_serial = FormatMcuSerial(reply.mcuId);
        ctx.deviceConfigValid = true;
    }
    ctx.readReplyAwaited = false;
    return reply.status;
}

void DecodeOverlayReply(UpdaterContext& ctx, const HidReport& report) {
    ctx.overlayConfig = ParseOverlayReply(report);
    ctx.overlayReceived = true;
    ctx.readReplyAwaited = false;
}

void EncodeConfigCommand(UpdaterContext& ctx, std::u16string_view installedMake,
                         std::u16string_view installedModel, HidReport& report) {
    if (ctx.configWritePending) {
        ctx.configWritePending = false;
        LayConfigCommand(ctx.deviceConfig, report);
    } else {
        EncodeStampedConfigCommand(ctx, installedMake, installedModel, report);
    }
}

void EncodeStampedConfigCommand(UpdaterContext& ctx, std::u16string_view installedMake,
                                std::u16string_view installedModel, HidReport& report) {
    StampVehicle(ctx.deviceConfig, installedMake, installedModel, ctx.mfg_id);
    LayConfigCommand(ctx.deviceConfig, report);
}

void EncodeOverlayCommand(UpdaterContext& ctx, HidReport& report) {
    LayOverlayCommand(ctx.overlayConfig, report);
    ctx.overlayWritePending = false;
}

std::u16string FormatIdentitySummary(const UpdaterContext& ctx) {
    return FormatIdentitySummary(ctx.mfg_id, ctx.softwareId, ctx.softwareBuild, ctx.deviceConfig,
                                 ctx.mcu_serial);
}
