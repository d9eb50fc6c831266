#include "retrieval/FetchImage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/UpdaterContext.h"
#include "link/CommandSet.h"
#include "link/FlashImage.h"
#include "retrieval/ImageDigest.h"
#include "retrieval/ImageServerSession.h"
#include "retrieval/RemotePath.h"

namespace {

// Fills buffer from the start; stops the transfer once a byte beyond it arrives.
class PrefixReceiver {
  public:
    explicit PrefixReceiver(std::vector<std::uint8_t>& buffer) : buffer_(buffer) {}

    bool Accept(std::span<const std::uint8_t> bytes) {
        const std::size_t room = buffer_.size() - filled_;
        const std::size_t taken = std::min(room, bytes.size());
        std::memcpy(buffer_.data() + filled_, bytes.data(), taken);
        filled_ += taken;
        return taken == bytes.size();
    }
    bool Full() const { return filled_ == buffer_.size(); }

  private:
    std::vector<std::uint8_t>& buffer_;
    std::size_t filled_ = 0;
};

}  // namespace

FetchResult FetchImage(UpdaterContext& ctx) {
    const SoftwareRecord& record = ctx.softwareRecord;
    ctx.remotePath = FormatRemotePath(record.sw_path, record.sw_filename);
    ctx.imageLength = record.sw_length;
    ctx.expectedDigest = record.sw_md5;

    // The engine's 8-bit sector count describes 1 to 255 sectors; anything else is refused before
    // a buffer of a catalogue-given size is allocated.
    if (!BootParametersFor(ctx.imageLength)) {
        return FETCH_BAD_IMAGE;
    }
    const FtpEndpoint& endpoint = ctx.endpoints.ftp;
    const auto url = ImageUrl(endpoint, ctx.remotePath);
    if (!url) {
        return FETCH_NO_FILE;
    }

    const auto session = OpenImageServerSession(endpoint, ctx.transferTimeouts, "CHECKFILE");
    std::vector<std::uint8_t> buffer(ctx.imageLength, 0);
    PrefixReceiver receiver(buffer);
    const TransferOutcome outcome = session->Receive(
        *url, [&receiver](std::span<const std::uint8_t> bytes) { return receiver.Accept(bytes); });
    if (outcome == TransferOutcome::NoConnection || outcome == TransferOutcome::NotFound) {
        return FETCH_NO_FILE;
    }
    const bool delivered =
        (outcome == TransferOutcome::Ok || outcome == TransferOutcome::Stopped) && receiver.Full();
    if (!delivered || !VerifyImage(buffer, ctx.expectedDigest)) {
        return FETCH_BAD_IMAGE;
    }
    if (!SetBootParameters(ctx, ctx.imageLength) ||
        !LoadFlashImage(ctx, buffer, std::size_t{ctx.bootParameters.sectorCount} * kSectorBytes)) {
        return FETCH_BAD_IMAGE;
    }
    return FETCH_OK;
}
