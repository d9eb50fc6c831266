// Feeds arbitrary bytes to the configuration and overlay codecs: the first 65 bytes as a received
// report, the rest as UTF-16 vehicle names and a model code. Besides the sanitizers it checks the
// promises of the codecs: nothing written outside a command's bytes or a field, fields ending
// with their zero byte, a failed read keeping the record.
#include <cstdlib>
#include <cstring>

#include "app/UpdaterContext.h"
#include "config/ConfigCodecs.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Input {
    const std::uint8_t* data;
    std::size_t size;

    std::u16string TakeText() {
        std::u16string text;
        if (size == 0) {
            return text;
        }
        std::size_t units = data[0] % 24;
        ++data;
        --size;
        while (units-- > 0 && size >= 2) {
            text.push_back(static_cast<char16_t>(data[0] | (data[1] << 8)));
            data += 2;
            size -= 2;
        }
        return text;
    }
};

void CheckVehicleFields(const DeviceConfig& before, const DeviceConfig& after) {
    Require(after.bytes()[21] == 0 && after.bytes()[35] == 0);
    Require(after.vehicleMakeLength() <= kVehicleTextMax && after.vehicleModelLength() <= kVehicleTextMax);
    Require(after.vehicleMake().size() == after.vehicleMakeLength());
    Require(after.vehicleModel().size() == after.vehicleModelLength());
    for (std::size_t i = 2; i < kDeviceConfigSize; ++i) {
        const bool stamped = i >= 8 && i <= 37;
        Require(stamped || after.bytes()[i] == before.bytes()[i]);
    }
    Require((after.capabilities() & ~CAP_FEATURES) == (before.capabilities() & ~CAP_FEATURES));
    Require((after.cameraFlags() & ~CAM_AFTERMARKET_REAR) == (before.cameraFlags() & ~CAM_AFTERMARKET_REAR));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HidReport report{};
    std::memcpy(report.data(), data, std::min(size, report.size()));
    Input rest{data + std::min(size, report.size()), size - std::min(size, report.size())};
    const std::u16string make = rest.TakeText();
    const std::u16string model = rest.TakeText();
    const std::u16string mfgId = rest.TakeText();

    UpdaterContext ctx;
    ctx.mfg_id = mfgId;
    ctx.deviceConfig.bytes().fill(0xA5);
    const DeviceConfig earlier = ctx.deviceConfig;

    const std::uint8_t status = DecodeConfigReply(ctx, report);
    Require(ctx.replyStatus.load() == report[2] && status == report[2]);
    if (status == CONFIG_STATUS_OK) {
        Require(std::equal(report.begin() + 22, report.end(), ctx.deviceConfig.bytes().begin()));
        Require(ctx.deviceConfig.bytes()[43] == 0 && ctx.deviceConfig.bytes()[45] == 0);
        Require(ctx.mcu_serial.size() == 35);
    } else {
        Require(ctx.deviceConfig == earlier && ctx.mcu_serial.empty());
    }
    DecodeOverlayReply(ctx, report);
    Require(std::equal(report.begin() + 2, report.begin() + 10, ctx.overlayConfig.bytes().begin()));

    HidReport out = report;
    ctx.configWritePending = (size & 1) != 0;
    const DeviceConfig beforeEncode = ctx.deviceConfig;
    EncodeConfigCommand(ctx, make, model, out);
    Require(out[0] == report[0] && out[1] == CODE_WRITE_CONFIG && !ctx.configWritePending);
    Require(std::equal(out.begin() + 48, out.end(), report.begin() + 48));
    Require(std::equal(ctx.deviceConfig.bytes().begin(), ctx.deviceConfig.bytes().end(), out.begin() + 2));
    if ((size & 1) != 0) {
        Require(ctx.deviceConfig == beforeEncode);
    } else {
        CheckVehicleFields(beforeEncode, ctx.deviceConfig);
    }

    DeviceConfig raw(earlier);
    std::copy_n(report.begin(), std::min<std::size_t>(kDeviceConfigSize, report.size()), raw.bytes().begin());
    const DeviceConfig rawBefore = raw;
    StampVehicle(raw, model, make, mfgId);
    CheckVehicleFields(rawBefore, raw);

    HidReport overlayOut = report;
    EncodeOverlayCommand(ctx, overlayOut);
    Require(overlayOut[1] == CODE_WRITE_OVERLAY && !ctx.overlayWritePending);
    Require(std::equal(overlayOut.begin() + 10, overlayOut.end(), report.begin() + 10));

    const std::u16string summary = FormatIdentitySummary(ctx);
    Require(summary.starts_with(u"ID: "));
    const std::u16string rawSummary = FormatIdentitySummary(mfgId, 0, 0, rawBefore, make);
    Require(rawSummary.find(u", Make: ") != std::u16string::npos);
    return 0;
}
