// The program at rest: the real program (as the command line runs it) with the demo's emulated
// interface attached and identified, its main timer running every 100 ms, for 60 s of real time.
// Reported: the processor time of the whole process (program, reader thread and the emulated
// interface alike) as a share of one core, against the goal of 1 %.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>

#include "app/ControllerFields.h"
#include "app/UpdaterContext.h"
#include "bench/BenchMain.h"
#include "platform/Clock.h"
#include "platform/ScratchDirectory.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "tools/cli/CliSession.h"

namespace {
using Seconds = std::chrono::duration<double>;
constexpr auto kAtRest = std::chrono::seconds(60);

class ConnectedSystem final : public SystemPort {
  public:
    std::u16string CurrentDirectory() override { return u"."; }
    bool IsInternetConnected() override { return true; }
    int RunConnectorInstaller(const std::u16string&) override { return 1; }
    void CloseMainWindow() override {}
};

double ProcessCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void IdleWithInterfaceAttached(benchmark::State& state) {
    double share = 0;
    bool reachedIdle = true;
    for (auto _ : state) {
        const std::filesystem::path data = MakeScratchDirectory("telvix-bench-rest-");
        DemoData demoData;
        if (WriteDemoData(data, demoData)) {
            state.SkipWithError("cannot write the demo data");
            return;
        }
        SystemClock clock;
        ConnectedSystem system;
        DemoMachine demo("QD7720R", MachineSetup{DemoInterfaceOptions, &clock, false});
        std::ostringstream out, err;
        CliSession session(CliMachine{demo.Bus().Hid(),
                                      demo.Bus().Volumes(),
                                      demo.Bus().Notifications(),
                                      clock,
                                      system,
                                      DemoEndpoints(demoData, ""),
                                      [&demo] { demo.PollUpdateVolume(); },
                                      {}},
                           CliTerminal{out, err, false, AnswerPolicy::No, false, {}});
        session.Start();
        reachedIdle = session.RunUntil([&] { return session.Context().mainState == MS_IDLE; },
                                       std::chrono::seconds(30));
        const double cpuAtStart = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        session.RunUntil([] { return false; }, kAtRest);
        const double wall = Seconds(std::chrono::steady_clock::now() - start).count();
        share = (ProcessCpuSeconds() - cpuAtStart) / wall;
        state.SetIterationTime(wall);
        std::error_code ignored;
        std::filesystem::remove_all(data, ignored);
    }
    state.counters["cpu_share_of_one_core_pct"] = share * 100;
    state.counters["goal_pct"] = 1;
    state.counters["within_goal"] = share < 0.01 ? 1 : 0;
    state.counters["reached_idle"] = reachedIdle ? 1 : 0;
    std::printf("at rest for %lld s with an interface attached: %.3f %% of one core (goal: under 1 %%)\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(kAtRest).count()),
                share * 100);
}
BENCHMARK(IdleWithInterfaceAttached)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
}  // namespace

TELVIX_BENCHMARK_MAIN();
