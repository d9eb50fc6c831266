#include "link/CommandSet.h"

#include "app/UpdaterContext.h"
#include "config/ConfigCodecs.h"

CommandSet::CommandSet(UpdaterContext& ctx, CommandHooks hooks) : ctx_(ctx), hooks_(std::move(hooks)) {}

std::u16string FormatRemotePath(std::u16string_view swPath, std::u16string_view swFilename) {
    std::u16string path;
    path.reserve(swPath.size() + 1 + swFilename.size());
    path.append(swPath).append(u"/").append(swFilename);
    if (path.size() > kMaxRemotePath) {
        return {};
    }
    return path;
}

void CommandSet::MarkRequest() {
    requestSequence_ = ctx_.inputReport.Sequence();
}

void CommandSet::Send(std::uint8_t code, const std::function<void(HidReport&)>& lay) {
    HidReport report{};
    report[1] = code;
    if (lay) {
        lay(report);
    }
    MarkRequest();
    ctx_.outputReport.Store(report);
    if (hooks_.signalSend) {
        hooks_.signalSend();
    }
}

std::int32_t CommandSet::IssueCommand(std::int32_t type, std::int32_t token, std::int32_t direction) {
    switch (direction) {
        case CMD_DIR_REQUEST:
            return IssueRequest(type, token);
        case CMD_DIR_WRITE:
            return IssueWrite(type, token);
        case CMD_DIR_FTP_CHECK:
            StartFtp(FTP_CHECK);
            return token;
        case CMD_DIR_FTP_GET:
            StartFtp(FTP_GET);
            return token;
        case CMD_DIR_START_ENGINE:
            ctx_.ftpDone.store(false, std::memory_order_release);
            if (hooks_.startFlashEngine) {
                hooks_.startFlashEngine();
            }
            return token;
        default:
            return 0;
    }
}

std::int32_t CommandSet::IssueRequest(std::int32_t type, std::int32_t token) {
    const bool application = ctx_.iUsbConnectSts.load() == USB_APPLICATION;
    switch (type) {
        case CMD_TYPE_CONFIG:
        case CMD_TYPE_OVERLAY:
            if (!application) {
                return 0;
            }
            Send(type == CMD_TYPE_CONFIG ? CMD_READ_CONFIG : CMD_READ_OVERLAY);
            ctx_.replyStatus.store(REPLY_PENDING);
            ctx_.readReplyAwaited = true;
            return token;
        case CMD_TYPE_FEATURES:
        case CMD_TYPE_FEATURE_STATUS:
            if (!application) {
                return 0;
            }
            Send(type == CMD_TYPE_FEATURES ? CMD_READ_FEATURES : CMD_FEATURE_STATUS);
            ctx_.replyStatus.store(REPLY_PENDING);
            return token;
        case CMD_TYPE_ENGINE_PROBE: {
            // The engine sends this report itself when bootEvent wakes it.
            HidReport report{};
            report[1] = CMD_PROBE;
            ctx_.outputReport.Store(report);
            ctx_.replyStatus.store(REPLY_PENDING);
            if (hooks_.signalEngine) {
                hooks_.signalEngine();
            } else {
                ctx_.bootEvent.Set();
            }
            return token;
        }
        case CMD_TYPE_CONNECT_PROBE:
            Send(CMD_PROBE);
            return token;
        default:
            return 0;
    }
}

std::int32_t CommandSet::IssueWrite(std::int32_t type, std::int32_t token) {
    switch (type) {
        case CMD_TYPE_CONFIG: {
            const SoftwareRecord& installed = ctx_.softwareRecord;
            Send(CMD_WRITE_CONFIG, [&](HidReport& report) {
                EncodeConfigCommand(ctx_, installed.vehicle_make, installed.vehicle_model, report);
            });
            break;
        }
        case CMD_TYPE_STAMPED_CONFIG: {
            const SoftwareRecord& installed = ctx_.softwareRecord;
            Send(CMD_WRITE_CONFIG, [&](HidReport& report) {
                EncodeStampedConfigCommand(ctx_, installed.vehicle_make, installed.vehicle_model, report);
            });
            break;
        }
        case CMD_TYPE_FEATURES:
            Send(CMD_WRITE_FEATURES, [&](HidReport& report) { report[2] = ctx_.featureBits; });
            ctx_.featureWriteRequest = false;
            break;
        case CMD_TYPE_REBOOT:
            Send(CMD_REBOOT);
            break;
        case CMD_TYPE_OVERLAY:
            Send(CMD_WRITE_OVERLAY, [&](HidReport& report) { EncodeOverlayCommand(ctx_, report); });
            break;
        default:
            return token;  // nothing to send
    }
    ctx_.writeReplyAwaited = true;
    return token;
}

void CommandSet::StartFtp(std::int32_t mode) {
    const SoftwareRecord& record = ctx_.softwareRecord;
    ctx_.remotePath = FormatRemotePath(record.sw_path, record.sw_filename);
    ctx_.ftpMode.store(mode);
    ctx_.ftpDone.store(false, std::memory_order_release);
    if (hooks_.startFtpWorker) {
        hooks_.startFtpWorker();
    }
}

void CommandSet::DecodeReplies() {
    std::uint64_t sequence = 0;
    const HidReport report = ctx_.inputReport.Load(sequence);
    if (sequence <= requestSequence_) {
        return;  // nothing has arrived since the command in flight went out
    }
    const std::uint8_t code = report[1];

    if (ctx_.readReplyAwaited) {
        if (code == CMD_READ_CONFIG) {
            DecodeConfigReply(ctx_, report);
            ctx_.readReplyAwaited = false;
        } else if (code == CMD_READ_OVERLAY) {
            DecodeOverlayReply(ctx_, report);
            ctx_.readReplyAwaited = false;
        }
    }
    if (ctx_.featureReadRequest && code == CMD_READ_FEATURES) {
        ctx_.replyStatus.store(report[2]);
        if (report[2] == STATUS_READ_OK) {
            ctx_.featureBits = report[3];
        }
    }
    if (ctx_.statusPollActive && code == CMD_FEATURE_STATUS) {
        ctx_.replyStatus.store(report[2]);
        ctx_.programPhase = report[3];
        if (report[3] == PROGRAM_PHASE_FINISHED) {
            ctx_.statusPollActive = false;
        } else if (report[3] == PROGRAM_PHASE_FAILED) {
            ctx_.programError = report[4];
            ctx_.statusPollActive = false;
        }
    }
    if (ctx_.writeReplyAwaited) {
        if (code == CMD_WRITE_CONFIG || code == CMD_WRITE_FEATURES || code == CMD_WRITE_OVERLAY) {
            ctx_.replyStatus.store(report[2]);
            ctx_.writeReplyAwaited = false;
        } else if (code == CMD_REBOOT) {
            ctx_.writeReplyAwaited = false;
        }
    }
}
