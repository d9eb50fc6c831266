#pragma once
// The program on terminal ports, driven by a loop instead of window timers: each tick delivers
// the queued device changes, runs the main timer (while it is set) and, every third tick, the
// reply decoder (while it runs), then waits one 100 ms period. Everything runs on the calling
// thread, which plays the window thread.
#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>

#include "app/UpdaterProgram.h"
#include "catalogue/EndpointSettings.h"
#include "tools/cli/TerminalPorts.h"

class Clock;
class HidBus;
class VolumePort;
class DeviceNotificationPort;
class SystemPort;
class DiagnosticsLog;

// What the program runs on: the real machine, the demo's emulator or a test's.
struct CliMachine {
    HidBus& bus;
    VolumePort& volumes;
    DeviceNotificationPort& notifications;
    Clock& clock;
    SystemPort& system;
    EndpointSettings endpoints;
    // Runs before every tick (the emulator's update-volume watcher, for instance).
    std::function<void()> beforeTick;
    // Waits out one main-timer period; a real 100 ms sleep unless a test advances its clock.
    std::function<void()> waitTick;
    // The install journal's file (empty: none) and the diagnostics log (nullptr: none).
    std::filesystem::path installJournal = {};
    DiagnosticsLog* diagnostics = nullptr;
};

struct CliTerminal {
    std::ostream& out;
    std::ostream& err;
    bool progressBar = false;  // stdout is a terminal
    AnswerPolicy answers = AnswerPolicy::Ask;
    bool interactive = false;  // stdin is a terminal
    std::function<std::optional<std::string>()> readLine;
};

class CliSession {
  public:
    CliSession(const CliMachine& machine, const CliTerminal& terminal);
    ~CliSession();

    void Start();
    void Tick();
    // Ticks until pred holds or the program asked to close; false when limit of real time passed
    // first or the program closed.
    bool RunUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit);
    bool Closed() const { return closed_; }
    // --verbose: state and link-mode changes are written here.
    void SetLog(std::ostream* log) { log_ = log; }

    UpdaterProgram& Program() { return *program_; }
    UpdaterContext& Context() { return program_->Context(); }

    TerminalDeviceArea deviceArea;
    TerminalSearchPanel searchPanel;
    TerminalProgress progress;
    TerminalFeatureResults features;
    TerminalMessages messages;
    TerminalTimers timers;

  private:
    class ClosingSystem;
    CliMachine machine_;
    std::unique_ptr<ClosingSystem> system_;
    std::unique_ptr<UpdaterProgram> program_;
    void LogChanges();
    long ticks_ = 0;
    bool closed_ = false;
    std::ostream* log_ = nullptr;
    std::int32_t loggedState_ = -1;
    std::int32_t loggedLink_ = -1;
};
