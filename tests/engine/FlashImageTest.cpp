// Preparing a run: parameters from the image length and the sector-padded image buffer.
#include <gtest/gtest.h>

#include <numeric>

#include "app/UpdaterContext.h"
#include "link/FlashImage.h"

namespace {

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed = 1) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return bytes;
}

TEST(FlashImage, FiveThousandBytesTakeTwoSectorsPaddedWithZeros) {
    UpdaterContext ctx;
    const auto image = Bytes(5000);
    ASSERT_TRUE(SetBootParameters(ctx, 5000));
    EXPECT_EQ(ctx.bootParameters.sectorCount, 2);
    ASSERT_TRUE(LoadFlashImage(ctx, image, 8192));
    ASSERT_EQ(ctx.imageBuffer.size(), 8192u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), ctx.imageBuffer.begin()));
    EXPECT_TRUE(
        std::all_of(ctx.imageBuffer.begin() + 5000, ctx.imageBuffer.end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(ctx.imageSum.load(), std::accumulate(image.begin(), image.end(), std::uint32_t{0}));
}

TEST(FlashImage, SectorBoundaries) {
    EXPECT_EQ(BootParametersFor(4096)->sectorCount, 1);
    EXPECT_EQ(BootParametersFor(4097)->sectorCount, 2);
    EXPECT_EQ(BootParametersFor(1)->sectorCount, 1);
    EXPECT_EQ(BootParametersFor(kMaxImageBytes)->sectorCount, 255);
    EXPECT_FALSE(BootParametersFor(kMaxImageBytes + 1));
    EXPECT_FALSE(BootParametersFor(0));
}

TEST(FlashImage, FixedParameterValues) {
    const BootParameters p = *BootParametersFor(100);
    EXPECT_EQ(p.pageSize, 256);
    EXPECT_EQ(p.pagesPerSector, 16);
    EXPECT_EQ(p.fixedBytes, 528);
    EXPECT_EQ(p.spare, 0);
    EXPECT_EQ(UnpackBootParameters(PackBootParameters(p)).fixedBytes, 528);
}

TEST(FlashImage, RefusedImagesChangeNothing) {
    UpdaterContext ctx;
    ASSERT_TRUE(LoadFlashImage(ctx, Bytes(300)));
    const auto kept = ctx.imageBuffer;
    const std::uint32_t keptSum = ctx.imageSum.load();

    EXPECT_FALSE(LoadFlashImage(ctx, std::vector<std::uint8_t>{}));
    EXPECT_FALSE(LoadFlashImage(ctx, Bytes(kMaxImageBytes + 1)));
    EXPECT_FALSE(LoadFlashImage(ctx, Bytes(300), 8192)) << "buffer length disagrees with one sector";
    EXPECT_FALSE(LoadFlashImage(ctx, Bytes(5000), 4096)) << "image longer than the buffer";
    EXPECT_EQ(ctx.imageBuffer, kept);
    EXPECT_EQ(ctx.imageSum.load(), keptSum);
    EXPECT_EQ(ctx.bootParameters.sectorCount, 1);
}

TEST(FlashImage, NothingIsPreparedWhileARunIsActive) {
    UpdaterContext ctx;
    ctx.flashRunActive.store(true);
    EXPECT_FALSE(SetBootParameters(ctx, 100));
    EXPECT_FALSE(LoadFlashImage(ctx, Bytes(100)));
    EXPECT_TRUE(ctx.imageBuffer.empty());
}

TEST(FlashImage, SumWrapsAt32Bits) {
    const std::vector<std::uint8_t> ones(kMaxImageBytes, 0xFF);
    EXPECT_EQ(ByteSum(ones), static_cast<std::uint32_t>(std::uint64_t{kMaxImageBytes} * 0xFF));
}

}  // namespace
