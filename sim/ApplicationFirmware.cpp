#include "sim/ApplicationFirmware.h"

#include <algorithm>

namespace {
constexpr std::uint8_t kReadOk = 0x16;
constexpr std::uint8_t kWriteOk = 0x2C;
constexpr std::uint8_t kApplicationRunning = 0x21;
constexpr std::size_t kConfigBytesInReply = 43;
}  // namespace

ApplicationFirmware::ApplicationFirmware(ApplicationOptions options, std::shared_ptr<EmulatedFlash> flash,
                                         std::shared_ptr<FirmwareFaults> faults)
    : flash_(std::move(flash)), faults_(std::move(faults)), state_(std::move(options)) {
    programsSeen_ = flash_->ProgramCount();
}

void ApplicationFirmware::OnStart(FirmwareHost&) {
    std::lock_guard lock(mutex_);
    const int programs = flash_->ProgramCount();
    if (programs != programsSeen_) {
        programsSeen_ = programs;
        if (const auto identity = flash_->Identity()) {
            state_.softwareId = identity->softwareId;
            state_.softwareBuild = identity->softwareBuild;
        }
        state_.config.setTotalUpdates(static_cast<std::uint16_t>(state_.config.totalUpdates() + 1));
    }
    programStep_ = 0;
}

std::uint8_t ApplicationFirmware::Status(std::uint8_t command, std::uint8_t normal) const {
    return faults_->StatusFor(command).value_or(normal);
}

HidReport ApplicationFirmware::ConfigReply() const {
    HidReport reply{};
    reply[1] = 0x1A;
    reply[2] = Status(0x1A, kReadOk);
    std::copy(state_.mcuId.begin(), state_.mcuId.end(), reply.begin() + 3);
    reply[19] = static_cast<std::uint8_t>(state_.softwareId);
    reply[20] = static_cast<std::uint8_t>(state_.softwareId >> 8);
    reply[21] = state_.softwareBuild;
    const auto& bytes = state_.config.bytes();
    std::copy(bytes.begin(), bytes.begin() + kConfigBytesInReply, reply.begin() + 22);
    return reply;
}

HidReport ApplicationFirmware::ProgramStatusReply() {
    HidReport reply{};
    reply[1] = 0x62;
    reply[2] = Status(0x62, kReadOk);
    if (!state_.programSequence.empty()) {
        const ProgramStep step =
            state_.programSequence[std::min(programStep_, state_.programSequence.size() - 1)];
        reply[3] = step.phase;
        reply[4] = step.error;
        ++programStep_;
    }
    return reply;
}

void ApplicationFirmware::OnOutputReport(const HidReport& report, FirmwareHost& host) {
    const FirmwareFaults::Verdict verdict = faults_->CountReport();
    if (!verdict.answer) {
        return;
    }
    std::unique_lock lock(mutex_);
    HidReport reply{};
    reply[1] = report[1];
    bool answer = true;
    bool restart = false;
    switch (report[1]) {
        case 0x01:
            reply[1] = 0x10;
            reply[2] = Status(0x01, kApplicationRunning);
            break;
        case 0x1A:
            reply = ConfigReply();
            break;
        case 0x1B:
            reply[2] = Status(0x1B, kWriteOk);
            if (reply[2] == kWriteOk) {
                std::copy(report.begin() + 2, report.begin() + 2 + kDeviceConfigSize,
                          state_.config.bytes().begin());
            }
            break;
        case 0x60:
            reply[2] = Status(0x60, kReadOk);
            reply[3] = state_.featureBits;
            break;
        case 0x61:
            reply[2] = Status(0x61, kWriteOk);
            if (reply[2] == kWriteOk) {
                state_.featureBits = report[2];
                programStep_ = 0;
            }
            break;
        case 0x62:
            reply = ProgramStatusReply();
            break;
        case 0x65:
            std::copy(state_.overlay.bytes().begin(), state_.overlay.bytes().end(), reply.begin() + 2);
            break;
        case 0x66:
            reply[2] = Status(0x66, kWriteOk);
            if (reply[2] == kWriteOk) {
                std::copy(report.begin() + 2, report.begin() + 2 + kOverlayConfigSize,
                          state_.overlay.bytes().begin());
            }
            break;
        case 0x80:
            restart = true;
            break;
        default:
            answer = false;
            break;
    }
    const bool hidBootloader = state_.hasHidBootloader;
    lock.unlock();
    if (answer) {
        host.SendInput(reply);
    }
    if (restart) {
        host.RequestRestart(hidBootloader ? DeviceMode::Bootloader : DeviceMode::UpdateVolume);
    } else if (verdict.unplugAfter) {
        host.RequestRestart(DeviceMode::Unplugged);
    }
}

DeviceConfig ApplicationFirmware::StoredConfig() const {
    std::lock_guard lock(mutex_);
    return state_.config;
}

OverlayConfig ApplicationFirmware::StoredOverlay() const {
    std::lock_guard lock(mutex_);
    return state_.overlay;
}

std::uint8_t ApplicationFirmware::StoredFeatureBits() const {
    std::lock_guard lock(mutex_);
    return state_.featureBits;
}

SoftwareIdentity ApplicationFirmware::Software() const {
    std::lock_guard lock(mutex_);
    return {state_.softwareId, state_.softwareBuild};
}

void ApplicationFirmware::SetProgramSequence(std::vector<ProgramStep> sequence) {
    std::lock_guard lock(mutex_);
    state_.programSequence = std::move(sequence);
    programStep_ = 0;
}

void ApplicationFirmware::SetStoredConfig(const DeviceConfig& config) {
    std::lock_guard lock(mutex_);
    state_.config = config;
}
