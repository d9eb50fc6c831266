#include "retrieval/FtpTransfers.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "retrieval/ImageDigest.h"
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

// Reads the image into memory up to its catalogue length, checks it, and only then puts it on the
// volume in place of the old firmware.bin.
FtpResult CopyVerifiedImage(ImageServerSession& session, const std::string& url, const std::string& volumeRoot,
                            const ExpectedImage& expected) {
    std::vector<std::uint8_t> image;
    image.reserve(expected.length);
    const TransferOutcome outcome = session.Receive(url, [&](std::span<const std::uint8_t> bytes) {
        const std::size_t taken = std::min<std::size_t>(bytes.size(), expected.length - image.size());
        image.insert(image.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(taken));
        return image.size() < expected.length;  // a longer file is cut where the image ends
    });
    const bool delivered = (outcome == TransferOutcome::Ok || outcome == TransferOutcome::Stopped) &&
                           image.size() == expected.length;
    if (!delivered || !VerifyImage(image, expected.md5)) {
        return FTP_TRANSFER_FAILED;
    }
    VolumeFile file(volumeRoot, kUpdateFileName);
    if (!file.RemoveTarget() || !file.Open() || !file.Write(image) || !file.Commit()) {
        return FTP_TRANSFER_FAILED;
    }
    return FTP_OK;
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
                    std::u16string_view remotePath, const std::string& volumeRoot,
                    const ExpectedImage& expected) {
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
    // The update volume may have room for one image only, so the old firmware.bin goes before the
    // new one is written, and only now that the server has confirmed the new one exists. The new
    // one still arrives under a temporary name and is renamed when complete: the interface never
    // finds a partial firmware.bin.
    if (expected.length > 0) {
        return CopyVerifiedImage(*session, *url, volumeRoot, expected);
    }
    VolumeFile file(volumeRoot, kUpdateFileName);
    if (!file.RemoveTarget() || !file.Open()) {
        return FTP_TRANSFER_FAILED;
    }
    std::uint64_t received = 0;
    const TransferOutcome outcome = session->Receive(*url, [&](std::span<const std::uint8_t> bytes) {
        received += bytes.size();
        return file.Write(bytes);
    });
    // A download shorter than the size the server announced, or an empty one, is no image. Once
    // the look-up succeeded, every failure is the download's (the old firmware.bin is gone).
    const bool complete = outcome == TransferOutcome::Ok && received > 0 &&
                          (expectedSize < 0 || received == static_cast<std::uint64_t>(expectedSize));
    if (!complete || !file.Commit()) {
        return FTP_TRANSFER_FAILED;
    }
    return FTP_OK;
}
