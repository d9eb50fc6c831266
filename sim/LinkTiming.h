#pragma once
// Timing models of the link between the host and an emulated interface, as latency hooks
// (EmulatedInterface::SetLatencyHook). Both wait on the steady clock for absolute times, so the
// oversleep of one report never adds to the next one's.
//
//   DeadlineLatency(1ms)  each report reaches the firmware (which answers at once) at its write
//                         time plus the latency: a reply is due one latency after its request.
//   UsbFrameTiming(1ms)   a full-speed USB interrupt endpoint: a report written by the host goes
//                         out on the next frame boundary, and the reply comes back on the frame
//                         boundary after that; frames are counted from the steady clock's epoch.
#include <chrono>

#include "sim/Firmware.h"

// Zero (or less) installs no delay at all.
LatencyHook DeadlineLatency(std::chrono::microseconds latency);
LatencyHook UsbFrameTiming(std::chrono::microseconds frame = std::chrono::milliseconds(1));

// When the reply to a report written at `written` arrives under the frame model.
std::chrono::steady_clock::time_point UsbReplyTime(std::chrono::steady_clock::time_point written,
                                                   std::chrono::microseconds frame);

// Sleeps until shortly before `deadline`, then spins the rest: a plain sleep overshoots by a
// scheduler slice, which at 1 ms per report would be most of the report's time.
void WaitUntilPrecisely(std::chrono::steady_clock::time_point deadline);
