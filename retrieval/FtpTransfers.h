#pragma once
// The FTP worker's two transfers, run on the calling thread, each over its own connection. They
// write nothing but their own results (and, for the download, the update volume's firmware.bin).
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/EndpointSettings.h"
#include "retrieval/TransferFields.h"

// Whether remotePath exists on the server, asked without downloading it: FTP_OK, FTP_NOT_FOUND
// (also for a path that cannot name one file) or FTP_NO_CONNECTION.
FtpResult RunFtpCheck(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts,
                      std::u16string_view remotePath);

// Downloads remotePath to volumeRoot + "firmware.bin" in binary mode: FTP_OK, FTP_NO_CONNECTION,
// FTP_NOT_FOUND, or FTP_TRANSFER_FAILED when the volume cannot be written or the download fails.
// Once the file is confirmed on the server, an existing firmware.bin is deleted to make room (a
// failed download then leaves none); the new one appears only complete and non-empty, and no
// temporary file is left behind.
//
// With an expected image (the catalogue's length and digest), the file is first read into memory
// up to that length and checked as the in-memory fetch checks it; only a verified image replaces
// the volume's firmware.bin, so a short, broken or wrong file never reaches the interface
// (FTP_TRANSFER_FAILED, the old firmware.bin left in place).
struct ExpectedImage {
    std::uint32_t length = 0;  // 0: unknown, the file is copied as the server sends it
    std::u16string md5;
};
FtpResult RunFtpGet(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts,
                    std::u16string_view remotePath, const std::string& volumeRoot,
                    const ExpectedImage& expected = {});

inline constexpr const char* kUpdateFileName = "firmware.bin";
