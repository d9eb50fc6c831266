#pragma once
// The two threads of an open channel. The reader keeps one read outstanding on the read handle,
// hands each report whole to inputReport and decodes at once the replies that drive the connect
// probe and the flashing engine; the writer sends outputReport each time sendEvent is signalled.
#include <functional>

#include "link/HidReport.h"
#include "link/ReportBuffer.h"
#include "platform/HidBus.h"
#include "platform/ManualResetEvent.h"

struct UpdaterContext;

// The four events of one channel, all manual-reset and created unsignalled before its threads
// start, so a send or a stop issued right after the start is never lost.
struct ChannelEvents {
    ManualResetEvent readEvent;        // a read completed; reset by the reader after taking it
    ManualResetEvent readerStopEvent;  // never reset: a stopped reader is done
    ManualResetEvent sendEvent;        // reset by the writer just before each write
    ManualResetEvent writerStopEvent;  // never reset
};

// Acts on one input report as the reader does. Returns false when the reader must end after this
// report (0x80).
bool DecodeInputReport(UpdaterContext& ctx, const HidReport& report);

// Runs until readerStopEvent, a 0x80 report, or a failed read (the device has left: the old
// report is neither decoded again nor retried, the thread ends).
void ReaderThread(UpdaterContext& ctx, HidReadHandle& handle, ChannelEvents& events);

// Runs until writerStopEvent. A stop signalled together with a send wins: nothing more goes out.
// The outcome of each write is not looked at.
void WriterThread(const ReportBuffer& outputReport, ChannelEvents& events,
                  const std::function<bool(const HidReport&)>& write);
