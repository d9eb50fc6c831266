#pragma once
// Command-set fields of the shared context: the one-slot request/reply handshake and the feature
// programming fields. The window thread owns them (IssueCommand, DecodeReplies, the controller).
#include <atomic>
#include <cstdint>

constexpr std::int32_t REPLY_PENDING = 0x0B;
constexpr std::int32_t STATUS_READ_OK = 0x16;
constexpr std::int32_t STATUS_READ_ERROR = 0x21;
constexpr std::int32_t STATUS_WRITE_OK = 0x2C;
constexpr std::int32_t STATUS_WRITE_ERROR = 0x37;

struct CommandFields {
    std::atomic<std::int32_t> replyStatus{REPLY_PENDING};
    bool readReplyAwaited = false;
    bool writeReplyAwaited = false;
    std::uint8_t featureBits = 0;
    bool featureReadRequest = false;
    bool featureWriteRequest = false;
    bool statusPollActive = false;
    std::int32_t programPhase = 0;
    std::int32_t programError = 0;
    bool configWritePending = false;
    bool overlayWritePending = false;
    bool overlayReceived = false;
};
