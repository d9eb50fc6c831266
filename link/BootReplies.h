#pragma once
// The reader thread's handling of the bootloader's replies 0x20, 0x30, 0x40, 0x50 and 0x70:
// updates the flashing engine's step and counters and wakes the engine.
#include "link/HidReport.h"

struct UpdaterContext;

void HandleBootloaderReply(UpdaterContext& ctx, const HidReport& report);
