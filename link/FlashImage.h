#pragma once
// Preparing a flashing run: the parameters the engine sends with command 0x02 and the sector-padded
// image buffer it writes from. Called on the window thread (by the image fetch) while no run is
// active.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "link/EngineFields.h"

struct UpdaterContext;

// Number of 4096-byte sectors an image of imageLength bytes occupies (rounded up).
std::uint32_t SectorsForLength(std::uint32_t imageLength);

// The parameters for an image of imageLength bytes (the catalogue's length), or nothing when the
// length cannot be described: 0 bytes, or more than 255 sectors (1,044,480 bytes).
std::optional<BootParameters> BootParametersFor(std::uint32_t imageLength);

// Sets ctx.bootParameters for an image of imageLength bytes. False (and ctx untouched) when the
// length is refused by BootParametersFor or a run is active.
bool SetBootParameters(UpdaterContext& ctx, std::uint32_t imageLength);

// Allocates imageBuffer of bufferLength bytes (sectorCount x 4096), zero-filled, copies the image to
// its start and sets imageSum to the sum of all its bytes. Refused (false, nothing changed) when a
// run is active, when bufferLength does not match ctx.bootParameters, or when the image is empty or
// longer than the buffer.
bool LoadFlashImage(UpdaterContext& ctx, std::span<const std::uint8_t> image, std::size_t bufferLength);

// Both steps at once for an image whose own length is the catalogue's length.
bool LoadFlashImage(UpdaterContext& ctx, std::span<const std::uint8_t> image);

// Wrapping 32-bit sum of bytes, as the interface sums a page.
std::uint32_t ByteSum(std::span<const std::uint8_t> bytes);
