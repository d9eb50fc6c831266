// A full install of a 64-sector image (262,144 bytes) on each route (the HID bootloader, and the
// update volume through the real transfer worker from a file:// store), driven by the
// main controller at its real tick periods (main timer 100 ms, reply decoder 300 ms) against the
// emulated interface with 1 ms per report, from the Install command to the controller back in
// idle. The catalogue answers from memory here, so what is measured is the controller, the device
// link, the transfer onto the volume and the protocol.
//
// Reported: the total time; the protocol floor (HID route: 274 x 64 + 3 round trips x 1 ms); the tick
// periods of the states outside the flashing (each waits for its tick); the reboot waits (the
// interface restarting into its bootloader and back, with the 2 s connect pause of each connect);
// and the rest, which is the flashing's time above the floor.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <unistd.h>

#include "app/ControllerOperations.h"
#include "app/MainController.h"
#include "app/UpdaterContext.h"
#include "bench/BenchMain.h"
#include "link/CommandSet.h"
#include "link/DeviceLink.h"
#include "link/FlashEngine.h"
#include "link/FlashImage.h"
#include "platform/Text.h"
#include "retrieval/FtpWorker.h"
#include "retrieval/ImageDigest.h"
#include "sim/EmulatedHidBus.h"
#include "sim/FirmwareImage.h"
#include "sim/LinkTiming.h"
#include "sim/TelvixFirmware.h"
#include "sim/UpdateVolumeWatcher.h"

namespace {
using Clocked = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
constexpr int kSectors = 64;
constexpr auto kLatency = std::chrono::milliseconds(1);

// The real clock, counting its sleeps (the connect pauses).
class CountingClock final : public Clock {
  public:
    Clocked::time_point Now() const override { return Clocked::now(); }
    void Sleep(std::chrono::milliseconds duration) override {
        slept += duration.count();
        std::this_thread::sleep_for(duration);
    }
    LocalDate Today() const override { return {2026, 12, 9}; }
    std::atomic<long> slept{0};
};

// The window: device changes are queued for the tick loop, the reply timer is a flag.
class BenchWindow final : public LinkWindow {
  public:
    void PostDeviceChange(const DeviceChange& change) override {
        std::lock_guard lock(mutex);
        queued.push_back(change);
    }
    void StartReplyTimer() override { replyTimer = true; }
    std::mutex mutex;
    std::deque<DeviceChange> queued;
    std::atomic<bool> replyTimer{false};
};

struct NullPorts final : DeviceAreaPort,
                         SearchAreaPort,
                         ProgressDialogPort,
                         FeatureResultPort,
                         MessagePort,
                         MainTimerPort,
                         SystemPort {
    void SetStatusIcon(StatusIcon) override {}
    void SetVehicleText(const std::u16string&) override {}
    std::u16string VehicleText() const override { return {}; }
    void SetFeaturesText(const std::u16string&) override {}
    void SetStatusText(const std::u16string&) override {}
    void ShowSettingsButton(bool) override {}
    void EnableSettingsButton(bool) override {}
    void ShowFeatureButton(bool) override {}
    void EnableFeatureButton(bool) override {}
    void EnableVehicleLists(bool) override {}
    void EnableSearch(bool) override {}
    void Show() override {}
    void Hide() override {}
    void ShowStep(const std::u16string&, int) override {}
    void ShowStepText(const std::u16string&) override {}
    void ShowOutcome(bool ok) override { succeeded = ok; }
    void ShowFeatureReadResult(const std::u16string&, bool) override {}
    void ShowFeatureWriteResult(const std::u16string&, bool) override {}
    MessageAnswer Show(const std::u16string&, MessageIcon, MessageButtons) override {
        return MessageAnswer::No;
    }
    void Stop() override {}
    void Restart() override {}
    std::u16string CurrentDirectory() override { return u"/"; }
    bool IsInternetConnected() override { return true; }
    int RunConnectorInstaller(const std::u16string&) override { return 0; }
    void CloseMainWindow() override {}
    bool succeeded = false;
};

class NullPanel final : public SearchPanel {
  public:
    void ClearList(SearchList) override {}
    void AddListEntry(SearchList, const std::u16string&) override {}
    void SelectListEntry(SearchList, int) override {}
    int SelectedListIndex(SearchList) const override { return -1; }
    std::u16string SelectedListText(SearchList) const override { return {}; }
    bool ManualTransmissionChecked() const override { return false; }
    void SetResultLabel(const std::u16string&) override {}
    void ClearResults() override {}
    void AppendResult(const ResultRow&) override {}
    int ResultCount() const override { return 0; }
    std::u16string ResultText(int, ResultColumn) const override { return {}; }
    void EnableInstall(bool) override {}
};

// The device side is real; the catalogue answers at once. The HID route's image is in memory; the
// volume route's comes through the real transfer worker from a file:// store.
class BenchOperations final : public ControllerOperations {
  public:
    BenchOperations(UpdaterContext& ctx, DeviceLink& link, BenchWindow& window, CommandSet& commands,
                    std::vector<std::uint8_t> image, bool hidRoute)
        : ctx_(ctx),
          link_(link),
          window_(window),
          commands_(commands),
          image_(std::move(image)),
          hidRoute_(hidRoute) {}
    void ConnectInterface() override { link_.ConnectInterface(window_); }
    bool IssueCommand(CommandRequest r) override {
        return commands_.IssueCommand(r.type, 1, r.direction) != 0;
    }
    void StopReportWriter() override { link_.StopWriter(); }
    bool OdbcDriverPresent() override { return true; }
    void FillVehicleLists() override {}
    void StartDatabaseWorker(std::int32_t operation) override {
        ctx_.dbOperation = operation;
        ctx_.softwareRecord.sw_valid_status = 1;
        ctx_.dbResult.store(DB_DONE, std::memory_order_release);
    }
    bool LoadSelectedSoftware() override {
        ctx_.softwareRecord.vehicle_make = u"Ford";
        ctx_.softwareRecord.vehicle_model = u"F-150";
        ctx_.softwareRecord.sw_length = static_cast<std::uint32_t>(image_.size());
        ctx_.softwareRecord.sw_md5 = FromUtf8(ImageDigest(image_));
        ctx_.softwareRecord.sw_path = u"bench";
        ctx_.softwareRecord.sw_filename = u"firmware.bin";
        return true;
    }
    bool LoadImageDetails() override { return true; }
    HidBootloaderLookup LookUpHidBootloader() override {
        return {hidRoute_ ? HidBootloader::Present : HidBootloader::Absent, {}};
    }
    int FetchImage() override {
        const auto length = static_cast<std::uint32_t>(image_.size());
        return SetBootParameters(ctx_, length) &&
                       LoadFlashImage(ctx_, image_, SectorsForLength(length) * kSectorBytes)
                   ? 0
                   : 1;
    }

  private:
    UpdaterContext& ctx_;
    DeviceLink& link_;
    BenchWindow& window_;
    CommandSet& commands_;
    std::vector<std::uint8_t> image_;
    bool hidRoute_;
};

// Where the time of an install goes: flashing (the engine's run), waiting for the interface to
// restart and come back (its reboots and the connect pauses), and every other state, each of which
// waits for its next main tick.
struct PhaseTimes {
    double flash = 0, interfaceWaits = 0, ticks = 0;
    void Add(std::int32_t state, Clocked::duration spent) {
        const double seconds = Seconds(spent).count();
        if (state == MS_WAIT_FLASH)
            flash += seconds;
        else if (state == MS_WAIT_LOADER || state == MS_WAIT_APPLICATION || state < MS_IDLE)
            interfaceWaits += seconds;
        else
            ticks += seconds;
    }
};

enum class Route { Hid, Volume };

struct Rig {
    explicit Rig(int imageSectors = kSectors, std::chrono::milliseconds latency = kLatency,
                 Route r = Route::Hid)
        : sectors(imageSectors),
          route(r),
          box(bus.PlugInterface("QD7720R", DeviceMode::Unplugged)),
          store(std::filesystem::temp_directory_path() /
                ("telvix-bench-store-" + std::to_string(::getpid()))) {
        ApplicationOptions options = DefaultApplicationOptions("QD7720R");
        options.hasHidBootloader = route == Route::Hid;
        telvix = InstallTelvixFirmware(box, options);
        if (latency.count() > 0)
            box.SetLatencyHook(DeadlineLatency(latency));
        box.Plug(DeviceMode::Application);
        link.SetHasHidBootloader([this](const std::u16string&) { return route == Route::Hid; });
        if (route == Route::Volume) {
            std::filesystem::create_directories(store / "bench");
            std::ofstream(store / "bench" / "firmware.bin", std::ios::binary)
                .write(reinterpret_cast<const char*>(image.data()),
                       static_cast<std::streamsize>(image.size()));
            ctx.endpoints.ftp.scheme = "file";
            ctx.endpoints.ftp.basePath = store.string();
            InstallFtpWorker(commands, ctx);
            watcher = std::make_unique<UpdateVolumeWatcher>(box, telvix.flash);
            watcher->Start();  // the interface watches its volume for a complete image
        }
        link.SetProbeSender([this] { commands.IssueCommand(CMD_TYPE_CONNECT_PROBE, 1, CMD_DIR_REQUEST); });
        link.SetShowLinkStatus([this] { controller.ShowLinkStatus(); });
        commands.Hooks().signalSend = [this] { link.SignalSend(); };
        commands.Hooks().startFlashEngine = [this] { engine.Start(); };
    }

    // Runs the window's timers in real time until done() holds; returns the real time spent, split
    // by the controller's state at each moment.
    PhaseTimes RunUntil(const std::function<bool()>& done) {
        PhaseTimes phases;
        auto last = Clocked::now();
        long sleptAtLast = clock.slept;
        auto nextMain = Clocked::now() + std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS);
        auto nextReply = Clocked::now() + std::chrono::milliseconds(REPLY_TIMER_PERIOD_MS);
        while (!done()) {
            for (;;) {
                DeviceChange change;
                {
                    std::lock_guard lock(window.mutex);
                    if (window.queued.empty())
                        break;
                    change = window.queued.front();
                    window.queued.pop_front();
                }
                link.OnDeviceChange(change);
            }
            // A connect pause counts as waiting for the interface, whatever state it falls in.
            const auto now = Clocked::now();
            const auto paused = std::chrono::milliseconds(clock.slept - sleptAtLast);
            phases.Add(ctx.mainState, now - last - paused);
            phases.interfaceWaits += Seconds(paused).count();
            last = now;
            sleptAtLast = clock.slept;
            if (now >= nextMain) {
                controller.RunMainState();
                nextMain += std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS);
            }
            if (now >= nextReply && window.replyTimer) {
                commands.DecodeReplies();
                nextReply += std::chrono::milliseconds(REPLY_TIMER_PERIOD_MS);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        return phases;
    }

    ~Rig() {
        if (watcher)
            watcher->Stop();
        std::error_code ignored;
        std::filesystem::remove_all(store, ignored);
    }

    int sectors;
    Route route;
    EmulatedHidBus bus;
    EmulatedInterface& box;
    std::filesystem::path store;
    // The software installed: served from memory on the HID route, from the store on the volume's.
    const std::vector<std::uint8_t> image = MakeFirmwareImage("QD7720R", 1061, 1, sectors* kSectorBytes);
    TelvixFirmware telvix;
    CountingClock clock;
    BenchWindow window;
    UpdaterContext ctx;
    DeviceLink link{ctx, bus.Hid(), bus.Notifications(), bus.Volumes(), clock};
    CommandSet commands{ctx};
    FlashEngine engine{ctx, FlashEnginePort{[this](const HidReport& r) { return link.WriteReport(r); },
                                            [this] { link.StopReader(); }, [this] { link.StopWriter(); }}};
    NullPorts ports;
    NullPanel panel;
    BenchOperations operations{ctx, link, window, commands, image, route == Route::Hid};
    MainController controller{ctx, {ports, ports, panel, ports, ports, ports, ports, ports}, operations};
    std::unique_ptr<UpdateVolumeWatcher> watcher;
};

void FullInstall(benchmark::State& state, Route route) {
    double total = 0, pauses = 0;
    PhaseTimes phases;
    bool succeeded = true;
    for (auto _ : state) {
        Rig rig(kSectors, kLatency, route);
        rig.ctx.mainState = MS_CONNECT;
        rig.RunUntil([&] { return rig.ctx.mainState == MS_IDLE; });
        rig.clock.slept = 0;

        const auto start = Clocked::now();
        rig.controller.OnInstall();
        bool finished = false;
        phases = rig.RunUntil([&] {
            finished = finished || rig.ctx.mainState == MS_INSTALLED ||
                       rig.ctx.mainState == MS_DOWNLOAD_FAILED || rig.ctx.mainState == MS_UPDATE_FAILED;
            return finished && rig.ctx.mainState == MS_IDLE;
        });
        total = Seconds(Clocked::now() - start).count();
        pauses = rig.clock.slept / 1000.0;
        succeeded = succeeded && rig.ports.succeeded && rig.telvix.flash->ProgramCount() == 1;
        state.SetIterationTime(total);
    }
    // The volume route has no report round trips to wait for: its copy counts in the rest.
    const double floor =
        route == Route::Hid ? (274.0 * kSectors + 3) * std::chrono::duration<double>(kLatency).count() : 0.0;
    // The rest: the flashing's time above the protocol's floor, and whatever no phase accounts for.
    const double rest = total - floor - phases.ticks - phases.interfaceWaits;
    state.counters["total_s"] = total;
    state.counters["protocol_floor_s"] = floor;
    state.counters["tick_periods_s"] = phases.ticks;
    state.counters["reboot_waits_s"] = phases.interfaceWaits;
    state.counters["connect_pauses_s"] = pauses;
    state.counters["rest_s"] = rest;
    state.counters["rest_share"] = rest / total;
    state.counters["succeeded"] = succeeded ? 1 : 0;
    std::printf(
        "%s install of %d sectors, 1 ms per report: %.2f s = protocol floor %.2f s + tick periods %.2f s + "
        "reboot waits %.2f s (connect pauses %.2f s of them) + rest %.2f s, %.1f %% (goal: under 10 %%)%s\n",
        route == Route::Hid ? "HID" : "update-volume", kSectors, total, floor, phases.ticks,
        phases.interfaceWaits, pauses, rest, 100 * rest / total, succeeded ? "" : "; THE INSTALL FAILED");
}
BENCHMARK_CAPTURE(FullInstall, hid_route, Route::Hid)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(FullInstall, volume_route, Route::Volume)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// The peak resident memory of the process while it installs the largest image the engine takes
// (255 sectors) with no link latency, against the goal of twice the image plus 50 MB.
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

void LargestImagePeakMemory(benchmark::State& state) {
    constexpr int kLargest = 255;
    bool succeeded = true;
    for (auto _ : state) {
        Rig rig(kLargest, std::chrono::milliseconds(0), Route::Hid);
        rig.ctx.mainState = MS_CONNECT;
        rig.RunUntil([&] { return rig.ctx.mainState == MS_IDLE; });
        rig.controller.OnInstall();
        bool finished = false;
        rig.RunUntil([&] {
            finished =
                finished || rig.ctx.mainState == MS_INSTALLED || rig.ctx.mainState == MS_DOWNLOAD_FAILED;
            return finished && rig.ctx.mainState == MS_IDLE;
        });
        succeeded = succeeded && rig.ports.succeeded && rig.telvix.flash->ProgramCount() == 1;
    }
    const double imageMb = kLargest * kSectorBytes / 1048576.0;
    const double peakMb = PeakResidentKb() / 1024.0;
    state.counters["image_MB"] = imageMb;
    state.counters["peak_resident_MB"] = peakMb;
    state.counters["goal_MB"] = 2 * imageMb + 50;
    state.counters["within_goal"] = peakMb <= 2 * imageMb + 50 ? 1 : 0;
    state.counters["succeeded"] = succeeded ? 1 : 0;
    std::printf("largest image (%d sectors, %.2f MB): peak resident memory %.1f MB (goal: at most %.1f MB)\n",
                kLargest, imageMb, peakMb, 2 * imageMb + 50);
}
BENCHMARK(LargestImagePeakMemory)->Iterations(1)->Unit(benchmark::kSecond);
}  // namespace

TELVIX_BENCHMARK_MAIN();
