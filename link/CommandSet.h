#pragma once
// The application command set: IssueCommand turns a (type, token, direction) request into an
// output report for the writer thread (or starts a worker), DecodeReplies takes the answer to the
// command in flight from the input report into the context. Both run on the window thread.
//
// A request remembers the sequence number of the input buffer when it goes out; the decoder only
// takes reports stored after that, so a report left over from an earlier exchange is never taken
// as the answer. Every command is laid into a zeroed report, so no leftovers of earlier commands
// travel in bytes beyond its payload.
#include <cstdint>
#include <functional>
#include <string>

#include "link/HidReport.h"

struct UpdaterContext;

enum CommandType : std::int32_t {
    CMD_TYPE_CONFIG = 1,
    CMD_TYPE_FEATURES = 6,
    CMD_TYPE_FEATURE_STATUS = 7,
    CMD_TYPE_REBOOT = 10,
    CMD_TYPE_ENGINE_PROBE = 11,
    CMD_TYPE_CONNECT_PROBE = 12,
    CMD_TYPE_OVERLAY = 13,
    CMD_TYPE_STAMPED_CONFIG = 14,  // write only: the install's configuration write (0x1B), stamped
};

enum CommandDirection : std::int32_t {
    CMD_DIR_REQUEST = 0,
    CMD_DIR_WRITE = 1,
    CMD_DIR_UNUSED = 2,
    CMD_DIR_FTP_CHECK = 3,
    CMD_DIR_FTP_GET = 4,
    CMD_DIR_START_ENGINE = 5,
};

// Command codes (byte 1 of an output report).
constexpr std::uint8_t CMD_PROBE = 0x01;
constexpr std::uint8_t CMD_READ_CONFIG = 0x1A;
constexpr std::uint8_t CMD_WRITE_CONFIG = 0x1B;
constexpr std::uint8_t CMD_READ_FEATURES = 0x60;
constexpr std::uint8_t CMD_WRITE_FEATURES = 0x61;
constexpr std::uint8_t CMD_FEATURE_STATUS = 0x62;
constexpr std::uint8_t CMD_READ_OVERLAY = 0x65;
constexpr std::uint8_t CMD_WRITE_OVERLAY = 0x66;
constexpr std::uint8_t CMD_REBOOT = 0x80;

// Feature programming phases in a 0x62 reply.
constexpr std::int32_t PROGRAM_PHASE_FINISHED = 2;
constexpr std::int32_t PROGRAM_PHASE_FAILED = 3;

// What IssueCommand needs from the rest of the program. Empty hooks do nothing.
struct CommandHooks {
    // Wakes the writer thread to send outputReport (DeviceLink::SignalSend).
    std::function<void()> signalSend;
    // Wakes the flashing engine (bootEvent); by default the context's own event is signalled.
    std::function<void()> signalEngine;
    // Starts the FTP worker for ftpMode, remotePath already set and ftpDone already cleared.
    std::function<void()> startFtpWorker;
    // Starts the flashing engine (FlashEngine::Start), ftpDone already cleared.
    std::function<void()> startFlashEngine;
};

class CommandSet {
  public:
    CommandSet(UpdaterContext& ctx, CommandHooks hooks = {});

    // Returns token when something was issued, 0 when refused.
    std::int32_t IssueCommand(std::int32_t type, std::int32_t token, std::int32_t direction);
    // Called on every tick of the reply timer.
    void DecodeReplies();

    CommandHooks& Hooks() { return hooks_; }

  private:
    std::int32_t IssueRequest(std::int32_t type, std::int32_t token);
    std::int32_t IssueWrite(std::int32_t type, std::int32_t token);
    void StartFtp(std::int32_t mode);
    // Lays code (and, through lay, its payload) into a zeroed report, stores it as outputReport and
    // wakes the writer.
    void Send(std::uint8_t code, const std::function<void(HidReport&)>& lay = {});
    void MarkRequest();

    UpdaterContext& ctx_;
    CommandHooks hooks_;
    std::uint64_t requestSequence_ = 0;  // inputReport sequence when the last command went out
};

// remotePath for a software record: "<sw_path>/<sw_filename>", empty when longer than the
// transfers accept.
std::u16string FormatRemotePath(std::u16string_view swPath, std::u16string_view swFilename);
