#pragma once
// The bootloader flashing engine: a thread that sleeps on bootEvent, and on each wake-up sends the
// command that bootStep names, writing it to the channel itself (the writer thread stays idle).
// The reader thread decodes the replies (HandleBootloaderReply) and wakes it. The run completes
// through ftpResult (0 success, 1 failure) then ftpDone.
//
// Beyond the plain protocol: every reply is awaited at most replyTimeout (the run then fails); a
// run that reaches the closing reply without having written and confirmed the whole image (a
// first probe answered "application running" and the restart that follows) fails; an image buffer
// that does not match the parameters is refused before anything is sent; the image is released
// after the run.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

#include "link/FlashImage.h"
#include "link/HidReport.h"

struct UpdaterContext;
class DeviceLink;

// What the engine needs from the open channel.
struct FlashEnginePort {
    // Writes one report synchronously to the write handle; false when the write failed.
    std::function<bool(const HidReport&)> writeReport;
    // Signal the channel's reader and writer stop events.
    std::function<void()> stopReader;
    std::function<void()> stopWriter;
};

// The port over the device link's current channel (WriteReport, StopReader, StopWriter).
FlashEnginePort ChannelPort(DeviceLink& link);

struct FlashEngineOptions {
    std::chrono::milliseconds replyTimeout{5000};
    // How long the engine waits after its start for the controller's first probe.
    std::chrono::milliseconds startTimeout{5000};
    // Receives one line per data byte sent ("index: %d; value: %2x\n"); off when empty.
    std::function<void(std::string_view)> diagnostic;
};

class FlashEngine {
  public:
    FlashEngine(UpdaterContext& ctx, FlashEnginePort port, FlashEngineOptions options = {});
    ~FlashEngine();  // cancels a run still waiting and waits for the thread
    FlashEngine(const FlashEngine&) = delete;
    FlashEngine& operator=(const FlashEngine&) = delete;

    // Window thread. Clears ftpDone, resets the counters, sets bootStep to 9 and starts the engine
    // thread on the image loaded by LoadFlashImage. An unusable image completes the run as a
    // failure at once, with nothing sent. False when a run is already active.
    bool Start();
    // Prepares a run exactly as Start does, without a thread: RunHere then runs it on the calling
    // thread, for drivers whose writeReport answers each command before it returns (the fuzzer),
    // so that no input waits for a thread switch. False when a run is already active.
    bool Prepare();
    void RunHere();
    // Ends a running engine as a failure at its next wake-up (at once when it is waiting).
    void Cancel();
    // Waits for the engine thread of the last run to end.
    void Join();
    // Processor time the engine thread used in its last run (for benchmarks); valid after Join.
    std::chrono::nanoseconds LastRunCpuTime() const { return lastRunCpuTime_.load(); }

  private:
    // Resets the counters and takes the loaded image; false when a run is already active.
    bool Arm();
    void Run(std::vector<std::uint8_t> image);
    // The report for the current step; false when the run must end as a failure.
    bool BuildCommand(std::int32_t step, const std::vector<std::uint8_t>& image, HidReport& report);
    bool BuildChunk(const std::vector<std::uint8_t>& image, HidReport& report);
    void Complete(bool success);

    UpdaterContext& ctx_;
    FlashEnginePort port_;
    FlashEngineOptions options_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    std::vector<std::uint8_t> armedImage_;  // between Arm and the run's start
    bool imageConfirmed_ = false;           // engine thread only: the finishing 0x08 was sent
    std::atomic<std::chrono::nanoseconds> lastRunCpuTime_{};
};
