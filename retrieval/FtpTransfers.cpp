#include "retrieval/FtpTransfers.h"

#include <cstdint>

#include "retrieval/ImageServerSession.h"
#include "retrieval/RemotePath.h"
#include "retrieval/VolumeFile.h"

namespace {

FtpResult LookUpResult(TransferOutcome outcome) {
    switch (outcome) {
        case TransferOutcome::Ok:
            return FTP_OK;
        case TransferOutcome::NotFound:
            return FTP_NOT_FOUND;
        default:
            return FTP_NO_CONNECTION;
    }
}

}  // namespace

FtpResult RunFtpCheck(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts,
                      std::u16string_view remotePath) {
    const auto url = ImageUrl(endpoint, remotePath);
    if (!url) {
        return FTP_NOT_FOUND;
    }
    const auto session = OpenImageServerSession(endpoint, timeouts, "CHECKFILE");
    std::int64_t size = -1;
    return LookUpResult(session->Probe(*url, &size));
}

FtpResult RunFtpGet(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts,
                    std::u16string_view remotePath, const std::string& volumeRoot) {
    const auto url = ImageUrl(endpoint, remotePath);
    if (!url) {
        return FTP_NOT_FOUND;
    }
    const auto session = OpenImageServerSession(endpoint, timeouts, "GETFILE");
    std::int64_t expectedSize = -1;
    const FtpResult found = LookUpResult(session->Probe(*url, &expectedSize));
    if (found != FTP_OK) {
        return found;
    }
    if (volumeRoot.empty()) {
        return FTP_TRANSFER_FAILED;  // no update volume: never write into the working directory
    }
    VolumeFile file(volumeRoot, kUpdateFileName);
    if (!file.Open()) {
        return FTP_TRANSFER_FAILED;
    }
    std::uint64_t received = 0;
    const TransferOutcome outcome = session->Receive(*url, [&](std::span<const std::uint8_t> bytes) {
        received += bytes.size();
        return file.Write(bytes);
    });
    switch (outcome) {
        case TransferOutcome::Ok:
            break;
        case TransferOutcome::NotFound:
            return FTP_NOT_FOUND;  // removed between the look-up and the download
        case TransferOutcome::NoConnection:
            return FTP_NO_CONNECTION;
        default:
            return FTP_TRANSFER_FAILED;
    }
    // A download shorter than the size the server announced, or an empty one, is no image.
    const bool complete =
        received > 0 && (expectedSize < 0 || received == static_cast<std::uint64_t>(expectedSize));
    if (!complete || !file.Commit()) {
        return FTP_TRANSFER_FAILED;
    }
    return FTP_OK;
}
