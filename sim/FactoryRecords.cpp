#include "sim/FactoryRecords.h"

#include <algorithm>
#include <iterator>

namespace {

// Record bytes 0..7 (capabilities, cameras, inputs, camera modes, video options, video signal,
// reserved, input sources), the vehicle, the update count and overlay bytes 4..6.
struct Row {
    std::string_view model;
    std::uint8_t head[8];
    std::string_view make;
    std::string_view vehicleModel;
    std::uint16_t updates;
    std::uint8_t overlayPairs[3];
};

// Every model offers video settings (capability 0x04); overlay bytes 0..2 hold 10 07 70.
constexpr Row kRows[] = {
    // Video settings: four inputs, every camera input, so Input 2 leads with "Front camera" and
    // Inputs 3 and 4 offer the side cameras; audio on input 1, positive sync, video in motion on.
    {"WE5540R", {0x7F, 0x00, 0x00, 0x00, 0x18, 0x90, 0x00, 0x79}, "Chevrolet", "Silverado", 3, {0, 0, 0}},
    // HDMI settings with a rear camera on Input 2, negative sync, parking lines hidden.
    {"TN7581R", {0x0E, 0x00, 0x00, 0x00, 0x94, 0x20, 0x00, 0x09}, "Toyota", "Tundra", 1, {0, 0, 0}},
    // HDMI settings with one input only: Input 2 disabled but holding "Front camera"; no sync.
    {"TN7580R", {0x34, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x01}, "Lexus", "RX 350", 0, {0, 0, 0}},
    // Video in motion: all four camera switches and video in motion offered.
    {"QH7720R", {0x7E, 0x06, 0x00, 0x00, 0x10, 0x80, 0x00, 0x00}, "GMC", "Sierra", 2, {0, 0, 0}},
    // Video in motion without the side cameras and without video in motion.
    {"QH772ER", {0x1C, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, "Cadillac", "Escalade", 0, {0, 0, 0}},
    // LVDS host without HDMI input: factory rear with aftermarket input, aftermarket front.
    {"QD7720R", {0x7E, 0x24, 0x0C, 0x1A, 0x00, 0x00, 0x00, 0x00}, "Chevrolet", "Tahoe", 4, {0, 0, 0}},
    {"QD772ER", {0x1C, 0x02, 0x04, 0x0E, 0x00, 0x00, 0x00, 0x00}, "Buick", "Enclave", 1, {0, 0, 0}},
    // LVDS host with HDMI on and every overlay enabled with camera captions.
    {"WD7731R",
     {0x7E, 0x28, 0x11, 0x16, 0x00, 0x00, 0x00, 0x00},
     "Mercedes-Benz",
     "Sprinter",
     5,
     {0x55, 0xF0, 0x0F}},
    // No front input; factory left camera; a front mode (2) the LVDS page does not show; overlay
    // pairs 10 and 11 read as on, captions 01/10 show the inputs.
    {"WH7731R", {0x6C, 0x90, 0x20, 0x0C, 0x00, 0x00, 0x00, 0x00}, "Ford", "Transit", 2, {0x0E, 0x90, 0x06}},
    {"WE5581R", {0x1E, 0x42, 0x04, 0x12, 0x00, 0x00, 0x00, 0x00}, "Dodge", "Ram 1500", 0, {0, 0, 0}},
    // Factory right camera, whose bit lives in the camera-mode byte.
    {"WJ7731R", {0x7C, 0x04, 0x09, 0x1F, 0x00, 0x00, 0x00, 0x00}, "Jeep", "Wrangler", 1, {0x41, 0x30, 0x0C}},
    // HDMI host: HDMI on, factory rear with aftermarket input, sync with polarity and on green.
    {"TN7931R", {0x7E, 0x30, 0x25, 0x04, 0x00, 0x50, 0x00, 0x00}, "Nissan", "Titan", 2, {0x45, 0xC0, 0x03}},
};

constexpr std::uint8_t kOverlayParams[3] = {0x10, 0x07, 0x70};

}  // namespace

std::optional<FactoryRecord> FactoryRecordOf(std::string_view modelCode) {
    for (const Row& row : kRows) {
        if (row.model != modelCode) {
            continue;
        }
        FactoryRecord factory;
        std::copy(std::begin(row.head), std::end(row.head), factory.record.bytes().begin());
        factory.record.setVehicle(row.make, row.vehicleModel);
        factory.record.setTotalUpdates(row.updates);
        std::copy(std::begin(kOverlayParams), std::end(kOverlayParams), factory.overlay.begin());
        std::copy(std::begin(row.overlayPairs), std::end(row.overlayPairs), factory.overlay.begin() + 4);
        return factory;
    }
    return std::nullopt;
}
