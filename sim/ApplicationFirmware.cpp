#include "sim/ApplicationFirmware.h"

#include <algorithm>

namespace {
constexpr std::uint8_t kReadOk = 0x16;
constexpr std::uint8_t kReadError = 0x21;
constexpr std::uint8_t kWriteOk = 0x2C;
constexpr std::uint8_t kApplicationRunning = 0x21;

constexpr std::uint8_t kPhaseRunning = 1;
constexpr std::uint8_t kPhaseFinished = 2;
constexpr std::uint8_t kPhaseFailed = 3;

// Read-config reply: where identity and record lie in the report.
constexpr std::size_t kReplyStatus = 2;
constexpr std::size_t kReplyMcuId = 3;
constexpr std::size_t kReplySoftwareId = 19;
constexpr std::size_t kReplySoftwareBuild = 21;
constexpr std::size_t kReplyRecord = 22;
constexpr std::size_t kRecordBytesInReply = 43;
// Write-config command: the whole record from byte 2.
constexpr std::size_t kCommandRecord = 2;
// Overlay block in both directions, and the feature byte.
constexpr std::size_t kOverlayAt = 2;
constexpr std::size_t kFeatureByte = 2;

bool StillRunning(std::uint8_t phase) {
    return phase != kPhaseFinished && phase != kPhaseFailed;
}

HidReport Reply(std::uint8_t code) {
    HidReport reply{};
    reply[1] = code;
    return reply;
}
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
    programming_ = Programming{};
}

std::uint8_t ApplicationFirmware::Status(std::uint8_t command, std::uint8_t normal) const {
    return faults_->StatusFor(command).value_or(normal);
}

HidReport ApplicationFirmware::ConfigReply() const {
    HidReport reply = Reply(0x1A);
    reply[kReplyStatus] = Status(0x1A, kReadOk);
    std::copy(state_.mcuId.begin(), state_.mcuId.end(), reply.begin() + kReplyMcuId);
    reply[kReplySoftwareId] = static_cast<std::uint8_t>(state_.softwareId & 0xFF);
    reply[kReplySoftwareId + 1] = static_cast<std::uint8_t>(state_.softwareId >> 8);
    reply[kReplySoftwareBuild] = state_.softwareBuild;
    const StoredRecord::Bytes& record = state_.config.bytes();
    std::copy_n(record.begin(), kRecordBytesInReply, reply.begin() + kReplyRecord);
    return reply;
}

bool ApplicationFirmware::ProgramStatus(HidReport& report) {
    const ProgramStep step = programming_.reached == 0 ? ProgramStep{kPhaseRunning, 0}
                                                       : programming_.sequence[programming_.reached - 1];
    if (programming_.reportedRunning && faults_->Plan().silentProgramming) {
        return false;  // stalled: nothing more about this programming
    }
    if (StillRunning(step.phase)) {
        programming_.reportedRunning = true;
    }
    report = Reply(0x62);
    report[2] = Status(0x62, kReadOk);
    report[3] = step.phase;
    report[4] = step.error;
    return true;
}

void ApplicationFirmware::AdvanceProgramming(FirmwareHost& host, std::vector<HidReport>& out) {
    Programming& run = programming_;
    if (!run.started) {
        return;
    }
    const auto now = host.Now();
    const auto stepTime = [&run](std::size_t step) {
        return run.start + run.interval * static_cast<long>(step + 1);
    };
    while (run.reached < run.sequence.size() && now >= stepTime(run.reached)) {
        ++run.reached;
        HidReport report{};
        if (!faults_->Silenced() && ProgramStatus(report)) {
            out.push_back(report);
        }
    }
    if (run.reached < run.sequence.size()) {
        host.WakeAt(stepTime(run.reached));
    }
}

void ApplicationFirmware::OnWake(FirmwareHost& host) {
    std::vector<HidReport> pushed;
    {
        std::lock_guard lock(mutex_);
        AdvanceProgramming(host, pushed);
    }
    for (const HidReport& report : pushed) {
        host.SendInput(report);
    }
}

void ApplicationFirmware::OnOutputReport(const HidReport& report, FirmwareHost& host) {
    const FirmwareFaults::Verdict verdict = faults_->CountReport();
    if (!verdict.answer) {
        return;
    }
    std::vector<HidReport> replies;
    bool restart = false;
    std::unique_lock lock(mutex_);
    switch (report[1]) {
        case 0x01: {
            HidReport reply = Reply(0x10);
            reply[2] = Status(0x01, kApplicationRunning);
            replies.push_back(reply);
            break;
        }
        case 0x1A:
            replies.push_back(ConfigReply());
            break;
        case 0x1B: {
            HidReport reply = Reply(0x1B);
            reply[2] = Status(0x1B, kWriteOk);
            if (reply[2] == kWriteOk) {
                std::copy_n(report.begin() + kCommandRecord, stored_record::kSize,
                            state_.config.bytes().begin());
            }
            replies.push_back(reply);
            break;
        }
        case 0x60: {
            HidReport reply = Reply(0x60);
            reply[2] = Status(0x60, kReadOk);
            reply[3] = state_.featureBits;
            replies.push_back(reply);
            break;
        }
        case 0x61: {
            HidReport reply = Reply(0x61);
            reply[2] = Status(0x61, kWriteOk);
            replies.push_back(reply);
            if (reply[2] == kWriteOk) {
                state_.featureBits = report[kFeatureByte];
                programming_ =
                    Programming{true, host.Now(), state_.programSequence, state_.programStepInterval};
                AdvanceProgramming(host, replies);
            }
            break;
        }
        case 0x62: {
            HidReport reply{};
            if (!programming_.started) {
                reply = Reply(0x62);
                reply[2] = Status(0x62, kReadError);
                replies.push_back(reply);
            } else {
                AdvanceProgramming(host, replies);  // the steps due by now go out first
                if (ProgramStatus(reply)) {
                    replies.push_back(reply);
                }
            }
            break;
        }
        case 0x65: {
            HidReport reply = Reply(0x65);
            std::copy(state_.overlay.begin(), state_.overlay.end(), reply.begin() + kOverlayAt);
            replies.push_back(reply);
            break;
        }
        case 0x66: {
            HidReport reply = Reply(0x66);
            reply[2] = Status(0x66, kWriteOk);
            if (reply[2] == kWriteOk) {
                std::copy_n(report.begin() + kOverlayAt, kOverlayBlockSize, state_.overlay.begin());
            }
            replies.push_back(reply);
            break;
        }
        case 0x80:
            replies.push_back(Reply(0x80));
            restart = true;
            break;
        default:
            break;
    }
    const bool hidBootloader = state_.hasHidBootloader;
    lock.unlock();
    for (const HidReport& reply : replies) {
        host.SendInput(reply);
    }
    if (restart) {
        host.RequestRestart(hidBootloader ? DeviceMode::Bootloader : DeviceMode::UpdateVolume);
    } else if (verdict.unplugAfter) {
        host.RequestRestart(DeviceMode::Unplugged);
    }
}

StoredRecord ApplicationFirmware::StoredConfig() const {
    std::lock_guard lock(mutex_);
    return state_.config;
}

OverlayBlock ApplicationFirmware::StoredOverlay() const {
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
}

void ApplicationFirmware::SetProgramStepInterval(std::chrono::milliseconds interval) {
    std::lock_guard lock(mutex_);
    state_.programStepInterval = interval;
}

void ApplicationFirmware::SetStoredConfig(const StoredRecord& config) {
    std::lock_guard lock(mutex_);
    state_.config = config;
}
