#pragma once
// Transfer fields of the shared context. A worker (FTP or flashing engine) writes ftpResult, then
// sets ftpDone with release ordering; the controller polls ftpDone with acquire ordering.
#include <atomic>
#include <cstdint>
#include <string>

enum FtpMode : std::int32_t { FTP_IDLE = 0, FTP_CHECK = 1, FTP_GET = 2 };
enum FtpResult : std::int32_t {
    FTP_OK = 0,
    FTP_NO_CONNECTION = 1,
    FTP_NOT_FOUND = 2,
    FTP_TRANSFER_FAILED = 3,
};

struct TransferFields {
    std::u16string remotePath;  // sw_path "/" sw_filename, at most 63 characters
    std::int32_t ftpMode = FTP_IDLE;
    std::atomic<std::int32_t> ftpResult{0};
    std::atomic<bool> ftpDone{false};
    std::uint32_t imageLength = 0;
    std::u16string expectedDigest;
};
