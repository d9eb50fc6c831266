#pragma once
// Transfer fields of the shared context. A worker (FTP or flashing engine) writes ftpResult, then
// sets ftpDone with release ordering; the controller polls ftpDone with acquire ordering and reads
// ftpResult only after it has seen ftpDone set. ftpDone is cleared before a worker thread starts.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

#include "retrieval/FtpWorkerThread.h"

enum FtpMode : std::int32_t { FTP_IDLE = 0, FTP_CHECK = 1, FTP_GET = 2 };
enum FtpResult : std::int32_t {
    FTP_OK = 0,
    FTP_NO_CONNECTION = 1,
    FTP_NOT_FOUND = 2,
    FTP_TRANSFER_FAILED = 3,
};

// The longest remote path the transfers accept, in characters.
inline constexpr std::size_t kMaxRemotePath = 63;

// Bounds on waiting for the server, so a dead or silent server ends a transfer as a failure.
struct TransferTimeouts {
    std::chrono::milliseconds connect{15000};  // TCP connect, greeting and login
    std::chrono::seconds stall{30};            // no data or no server reply for this long
};

struct TransferFields {
    // sw_path "/" sw_filename; empty when that path is longer than kMaxRemotePath characters,
    // which every transfer then treats as a file that does not exist.
    std::u16string remotePath;
    std::atomic<std::int32_t> ftpMode{FTP_IDLE};
    std::atomic<std::int32_t> ftpResult{0};
    std::atomic<bool> ftpDone{false};
    std::uint32_t imageLength = 0;
    std::u16string expectedDigest;
    TransferTimeouts transferTimeouts;
    // The running or last FTP worker; declared last so that destroying the context first waits
    // for a transfer still using the fields above.
    FtpWorkerThread ftpWorkerThread;
};
