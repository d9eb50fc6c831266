#include "link/FlashImage.h"

#include <algorithm>

#include "app/UpdaterContext.h"

std::uint32_t SectorsForLength(std::uint32_t imageLength) {
    return imageLength / kSectorBytes + (imageLength % kSectorBytes != 0 ? 1 : 0);
}

std::optional<BootParameters> BootParametersFor(std::uint32_t imageLength) {
    const std::uint32_t sectors = SectorsForLength(imageLength);
    if (sectors == 0 || sectors > kMaxSectors) {
        return std::nullopt;
    }
    BootParameters parameters;
    parameters.sectorCount = static_cast<std::uint8_t>(sectors);
    return parameters;
}

bool SetBootParameters(UpdaterContext& ctx, std::uint32_t imageLength) {
    const auto parameters = BootParametersFor(imageLength);
    if (!parameters || ctx.flashRunActive.load(std::memory_order_acquire)) {
        return false;
    }
    ctx.bootParameters = *parameters;
    return true;
}

std::uint32_t ByteSum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::uint8_t b : bytes) {
        sum += b;
    }
    return sum;
}

bool LoadFlashImage(UpdaterContext& ctx, std::span<const std::uint8_t> image, std::size_t bufferLength) {
    const std::size_t expected = std::size_t{ctx.bootParameters.sectorCount} * kSectorBytes;
    if (ctx.flashRunActive.load(std::memory_order_acquire) || expected == 0 || bufferLength != expected ||
        image.empty() || image.size() > bufferLength) {
        return false;
    }
    std::vector<std::uint8_t> buffer(bufferLength, 0);
    std::copy(image.begin(), image.end(), buffer.begin());
    ctx.imageSum.store(ByteSum(buffer));
    ctx.imageBuffer = std::move(buffer);
    return true;
}

bool LoadFlashImage(UpdaterContext& ctx, std::span<const std::uint8_t> image) {
    if (image.size() > kMaxImageBytes || !SetBootParameters(ctx, static_cast<std::uint32_t>(image.size()))) {
        return false;
    }
    return LoadFlashImage(ctx, image, std::size_t{ctx.bootParameters.sectorCount} * kSectorBytes);
}
