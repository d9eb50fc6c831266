// Flashing a full 255-sector image (1,044,480 bytes) through FlashEngine and the real reader thread
// against the emulated bootloader, under three timings of the link (sim/LinkTiming.h):
//
//   FlashZeroLatency:  the interface answers at once. Round trips per second of the engine and of a
//                      minimal synchronous write-then-read loop on the same emulator (the host-side
//                      limit), and their ratio. Goal: the engine at least as fast as the loop.
//   FlashDeadline1ms:  each reply is due 1 ms after its request. Total time against the protocol's
//                      floor of (274 x sectors + 3) round trips x 1 ms. Goal: within 2 % of it.
//   FlashUsbFrames:    a full-speed USB interrupt endpoint, 1 ms frames: a report goes out on the
//                      next frame and its reply comes back on the frame after. The engine and the
//                      loop against the floor of two frames per round trip. Goal: the same ratio.
// Each prints the engine thread's own processor time too.
//
// TELVIX_BENCH_SECTORS=n flashes n sectors instead of 255 (quicker runs of the timed cases).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "app/UpdaterContext.h"
#include "bench/BenchMain.h"
#include "link/CommandSet.h"
#include "link/DeviceLink.h"
#include "link/FlashEngine.h"
#include "sim/EmulatedHidBus.h"
#include "sim/FirmwareImage.h"
#include "sim/LinkTiming.h"
#include "sim/TelvixFirmware.h"

namespace {

using Seconds = std::chrono::duration<double>;

class InstantClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point Now() const override { return std::chrono::steady_clock::now(); }
    void Sleep(std::chrono::milliseconds) override {}
    LocalDate Today() const override { return {2026, 1, 1}; }
};

class QuietWindow final : public LinkWindow {
  public:
    void PostDeviceChange(const DeviceChange&) override {}
    void StartReplyTimer() override {}
};

std::uint32_t Sectors() {
    const char* text = std::getenv("TELVIX_BENCH_SECTORS");
    const long n = text != nullptr ? std::strtol(text, nullptr, 10) : 255;
    return static_cast<std::uint32_t>(n >= 1 && n <= 255 ? n : 255);
}

// Round trips of a run: 274 per sector plus probe, parameters and finish.
double RoundTrips(std::uint32_t sectors) {
    return 274.0 * sectors + 3;
}

struct Bench {
    UpdaterContext ctx;
    EmulatedHidBus bus;
    EmulatedInterface& box;
    TelvixFirmware telvix;
    InstantClock clock;
    QuietWindow window;
    DeviceLink link;
    std::unique_ptr<FlashEngine> engine;
    std::unique_ptr<CommandSet> commands;

    explicit Bench(LatencyHook timing)
        : box(bus.PlugInterface("QD7720R", DeviceMode::Unplugged)),
          telvix(InstallTelvixFirmware(box, DefaultApplicationOptions("QD7720R"))),
          link(ctx, bus.Hid(), bus.Notifications(), bus.Volumes(), clock) {
        box.SetLatencyHook(std::move(timing));
        box.Plug(DeviceMode::Bootloader);
        engine = std::make_unique<FlashEngine>(ctx, ChannelPort(link));
        commands = std::make_unique<CommandSet>(ctx);
        commands->Hooks().startFlashEngine = [this] { engine->Start(); };
    }

    bool Connect() {
        link.SetHasHidBootloader([](const std::u16string&) { return true; });
        link.ConnectInterface(window);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (ctx.iUsbConnectSts.load() != USB_BOOTLOADER) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::yield();
        }
        return true;
    }

    // One engine run as the install sequence drives it; the time from the first probe to ftpDone.
    std::optional<Seconds> Flash(const std::vector<std::uint8_t>& image) {
        if (!LoadFlashImage(ctx, image)) {
            return std::nullopt;
        }
        ctx.bootProbeActive.store(false);
        link.StopWriter();
        commands->IssueCommand(0, 1, CMD_DIR_START_ENGINE);
        const auto start = std::chrono::steady_clock::now();
        commands->IssueCommand(CMD_TYPE_ENGINE_PROBE, 1, CMD_DIR_REQUEST);
        engine->Join();
        const Seconds took = std::chrono::steady_clock::now() - start;
        if (!ctx.ftpDone.load(std::memory_order_acquire) || ctx.ftpResult.load() != 0) {
            return std::nullopt;
        }
        return took;
    }
};

// The host-side limit: one thread writing a command and reading its reply, nothing else.
std::optional<Seconds> SynchronousLoop(EmulatedHidBus& bus, EmulatedInterface& box,
                                       const std::vector<std::uint8_t>& image) {
    box.Reboot(DeviceMode::Bootloader);
    const auto collections = bus.Hid().ListCollections();
    if (collections.empty()) {
        return std::nullopt;
    }
    auto reader = bus.Hid().OpenRead(collections[0].path);
    auto writer = bus.Hid().OpenWrite(collections[0].path);
    ManualResetEvent completion;
    ManualResetEvent stop;
    bool ok = true;
    auto exchange = [&](HidReport command) {
        ok = ok && writer->Write(command);
        HidReport reply{};
        ok = ok && reader->Read(reply, completion, stop) == HidReadResult::Report;
        completion.Reset();
        return reply;
    };
    const auto sectors = static_cast<std::uint8_t>(image.size() / kSectorBytes);
    const auto start = std::chrono::steady_clock::now();
    HidReport command{};
    command[1] = 0x01;
    exchange(command);
    command = {};
    command[1] = 0x02;
    const std::uint8_t parameters[] = {0x00, 0x01, 0x10, 0x00, 0x10, 0x02, sectors, 0x00};
    std::copy(std::begin(parameters), std::end(parameters), command.begin() + 2);
    exchange(command);
    for (std::uint32_t s = 0; s < sectors && ok; ++s) {
        command = {};
        command[1] = 0x03;
        exchange(command);
        for (std::uint16_t p = 0; p < 16; ++p) {
            for (std::uint16_t c = 0; c < 16; ++c) {
                command = {};
                command[1] = 0x04;
                WriteLe16(command, 2, p);
                WriteLe16(command, 4, c);
                std::copy_n(image.begin() + s * kSectorBytes + p * kPageBytes + c * kChunkBytes, kChunkBytes,
                            command.begin() + 6);
                exchange(command);
            }
            command = {};
            command[1] = 0x05;
            exchange(command);
        }
        command = {};
        command[1] = 0x07;
        command[2] = static_cast<std::uint8_t>(s);
        ok = ok && exchange(command)[2] == 2;
    }
    command = {};
    command[1] = 0x08;
    ok = ok && exchange(command)[1] == 0x80;
    const Seconds took = std::chrono::steady_clock::now() - start;
    if (!ok) {
        return std::nullopt;
    }
    return took;
}

std::vector<std::uint8_t> BenchImage(std::uint32_t sectors) {
    return MakeFirmwareImage("QD7720R", 900, 1, sectors * kSectorBytes);
}

struct RunFigures {
    double engineSeconds = 0;
    double loopSeconds = 0;
    double engineCpuSeconds = 0;
};

// One engine run and, when asked, one run of the synchronous loop, on a fresh emulator each.
std::optional<RunFigures> RunBoth(const std::function<LatencyHook()>& timing,
                                  const std::vector<std::uint8_t>& image, bool withLoop) {
    RunFigures figures;
    {
        Bench bench(timing());
        if (!bench.Connect())
            return std::nullopt;
        const auto took = bench.Flash(image);
        if (!took)
            return std::nullopt;
        figures.engineSeconds = took->count();
        figures.engineCpuSeconds = std::chrono::duration<double>(bench.engine->LastRunCpuTime()).count();
    }
    if (withLoop) {
        Bench bench(timing());
        const auto took = SynchronousLoop(bench.bus, bench.box, image);
        if (!took)
            return std::nullopt;
        figures.loopSeconds = took->count();
    }
    return figures;
}

void FlashZeroLatency(benchmark::State& state) {
    const std::uint32_t sectors = Sectors();
    const auto image = BenchImage(sectors);
    const double trips = RoundTrips(sectors);
    RunFigures f;
    for (auto _ : state) {
        const auto figures = RunBoth([] { return LatencyHook{}; }, image, true);
        if (!figures) {
            state.SkipWithError("flashing failed");
            return;
        }
        f = *figures;
        state.SetIterationTime(f.engineSeconds);
    }
    const double engineRate = trips / f.engineSeconds, loopRate = trips / f.loopSeconds;
    state.counters["engine_round_trips_per_s"] = engineRate;
    state.counters["loop_round_trips_per_s"] = loopRate;
    state.counters["engine_to_loop"] = engineRate / loopRate;
    state.counters["engine_cpu_s"] = f.engineCpuSeconds;
    std::printf(
        "zero latency, %u sectors: engine %.0f round trips/s, synchronous loop %.0f round trips/s, ratio "
        "%.2f "
        "(goal: at least 1.00); engine CPU %.2f s\n",
        sectors, engineRate, loopRate, engineRate / loopRate, f.engineCpuSeconds);
}

void FlashDeadline1ms(benchmark::State& state) {
    const std::uint32_t sectors = Sectors();
    const auto image = BenchImage(sectors);
    const double floor = RoundTrips(sectors) * 0.001;
    RunFigures f;
    for (auto _ : state) {
        const auto figures =
            RunBoth([] { return DeadlineLatency(std::chrono::milliseconds(1)); }, image, true);
        if (!figures) {
            state.SkipWithError("flashing failed");
            return;
        }
        f = *figures;
        state.SetIterationTime(f.engineSeconds);
    }
    state.counters["total_s"] = f.engineSeconds;
    state.counters["floor_s"] = floor;
    state.counters["total_to_floor"] = f.engineSeconds / floor;
    state.counters["loop_to_floor"] = f.loopSeconds / floor;
    state.counters["engine_cpu_s"] = f.engineCpuSeconds;
    // The loop shows what the emulator's own delivery of each reply costs on this machine; the
    // engine's hand-over from its reader thread comes on top of it.
    const double trips = RoundTrips(sectors);
    std::printf(
        "deadline model, 1 ms per reply, %u sectors: engine %.2f s, synchronous loop %.2f s, floor %.2f s; "
        "ratios %.3f and %.3f (goal: at most 1.020); above the floor per round trip: engine %.1f us, "
        "loop %.1f us; engine CPU %.2f s\n",
        sectors, f.engineSeconds, f.loopSeconds, floor, f.engineSeconds / floor, f.loopSeconds / floor,
        (f.engineSeconds - floor) / trips * 1e6, (f.loopSeconds - floor) / trips * 1e6, f.engineCpuSeconds);
}

void FlashUsbFrames(benchmark::State& state) {
    const std::uint32_t sectors = Sectors();
    const auto image = BenchImage(sectors);
    const double floor = RoundTrips(sectors) * 0.002;  // out on one frame, back on the next
    RunFigures f;
    for (auto _ : state) {
        const auto figures =
            RunBoth([] { return UsbFrameTiming(std::chrono::milliseconds(1)); }, image, true);
        if (!figures) {
            state.SkipWithError("flashing failed");
            return;
        }
        f = *figures;
        state.SetIterationTime(f.engineSeconds);
    }
    state.counters["engine_to_floor"] = f.engineSeconds / floor;
    state.counters["loop_to_floor"] = f.loopSeconds / floor;
    state.counters["engine_cpu_s"] = f.engineCpuSeconds;
    std::printf(
        "USB frame model, 1 ms frames, %u sectors: engine %.2f s, loop %.2f s, floor %.2f s; ratios %.3f and "
        "%.3f "
        "(goal: the same); engine CPU %.2f s\n",
        sectors, f.engineSeconds, f.loopSeconds, floor, f.engineSeconds / floor, f.loopSeconds / floor,
        f.engineCpuSeconds);
}

BENCHMARK(FlashZeroLatency)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(FlashDeadline1ms)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(FlashUsbFrames)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

TELVIX_BENCHMARK_MAIN();
