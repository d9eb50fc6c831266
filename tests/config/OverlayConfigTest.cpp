#include "config/OverlayConfig.h"

#include <gtest/gtest.h>

namespace {

TEST(OverlayPairs, EnablePairsReadNonZeroAsOnAndWriteOneOrZero) {
    OverlayConfig overlay({0, 0, 0, 0, 0b11'10'01'00, 0, 0, 0});
    EXPECT_FALSE(overlay.overlayEnabled(CameraPosition::Rear));
    EXPECT_TRUE(overlay.overlayEnabled(CameraPosition::Front));
    EXPECT_TRUE(overlay.overlayEnabled(CameraPosition::Left));   // pair 10
    EXPECT_TRUE(overlay.overlayEnabled(CameraPosition::Right));  // pair 11

    overlay.setOverlayEnabled(CameraPosition::Right, true);
    EXPECT_EQ(overlay.overlayEnables(), 0b01'10'01'00);
    overlay.setOverlayEnabled(CameraPosition::Left, false);
    EXPECT_EQ(overlay.overlayEnables(), 0b01'00'01'00);
    overlay.setOverlayEnabled(CameraPosition::Rear, true);
    EXPECT_EQ(overlay.overlayEnables(), 0b01'00'01'01);
}

TEST(OverlayPairs, CaptionPairsSitInBytesFiveAndSixAndKeepTheOtherBits) {
    OverlayConfig overlay({0, 0, 0, 0, 0, 0x0A, 0xA0, 0});
    for (auto position : kCameraPositions) {
        EXPECT_FALSE(overlay.cameraCaption(position));
        overlay.setCameraCaption(position, true);
        EXPECT_TRUE(overlay.cameraCaption(position));
    }
    EXPECT_EQ(overlay.bytes()[5], 0xFA);  // rear bits 4-5, front bits 6-7, low nibble kept
    EXPECT_EQ(overlay.bytes()[6], 0xAF);  // left bits 0-1, right bits 2-3, high nibble kept

    OverlayConfig partial({0, 0, 0, 0, 0, 0x10, 0x02, 0});  // rear 01, left 10
    EXPECT_FALSE(partial.cameraCaption(CameraPosition::Rear));
    EXPECT_FALSE(partial.cameraCaption(CameraPosition::Left));
    EXPECT_EQ(partial.captionPair(CameraPosition::Rear), 1);
    EXPECT_EQ(partial.captionPair(CameraPosition::Left), 2);
}

TEST(OverlayParams, WritesOnlyBytesZeroToTwo) {
    OverlayConfig overlay({1, 2, 3, 4, 5, 6, 7, 8});
    overlay.setOverlayParams(kOverlayParams);
    const OverlayConfig::Bytes expected{0x10, 0x07, 0x70, 4, 5, 6, 7, 8};
    EXPECT_EQ(overlay.bytes(), expected);
}

}  // namespace
