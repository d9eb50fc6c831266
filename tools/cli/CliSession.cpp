#include "tools/cli/CliSession.h"

#include <ostream>
#include <thread>

#include "app/UpdaterContext.h"
#include "app/ports/SystemPort.h"

// "Close the main window" ends the command: the loop stops at the next tick.
class CliSession::ClosingSystem final : public SystemPort {
  public:
    ClosingSystem(SystemPort& real, bool& closed) : real_(real), closed_(closed) {}
    std::u16string CurrentDirectory() override { return real_.CurrentDirectory(); }
    bool IsInternetConnected() override { return real_.IsInternetConnected(); }
    int RunConnectorInstaller(const std::u16string& path) override {
        return real_.RunConnectorInstaller(path);
    }
    void CloseMainWindow() override { closed_ = true; }

  private:
    SystemPort& real_;
    bool& closed_;
};

CliSession::CliSession(const CliMachine& machine, const CliTerminal& terminal)
    : progress(terminal.out, terminal.progressBar),
      messages(terminal.out, terminal.err, terminal.answers, terminal.interactive, terminal.readLine),
      machine_(machine),
      system_(std::make_unique<ClosingSystem>(machine.system, closed_)) {
    if (!machine_.waitTick)
        machine_.waitTick = [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS));
        };
    // Device changes are delivered at the next tick, so nothing needs waking here.
    program_ = std::make_unique<UpdaterProgram>(UpdaterAdapters{
        .bus = machine_.bus,
        .volumes = machine_.volumes,
        .notifications = machine_.notifications,
        .deviceChangeQueued = {},
        .clock = machine_.clock,
        .system = *system_,
        .endpoints = machine_.endpoints,
        .deviceArea = deviceArea,
        .searchArea = deviceArea,
        .searchPanel = searchPanel,
        .progress = progress,
        .features = features,
        .messages = messages,
        .mainTimer = timers,
        .replyTimer = timers,
        .installJournal = machine_.installJournal,
        .diagnostics = machine_.diagnostics,
    });
}

CliSession::~CliSession() {
    program_->Shutdown();
}

void CliSession::Start() {
    program_->Start();
}

void CliSession::Tick() {
    if (machine_.beforeTick)
        machine_.beforeTick();
    program_->DeliverDeviceChanges();
    if (timers.mainRunning)
        program_->OnTimer(MAIN_TIMER_ID);
    ++ticks_;
    constexpr int kTicksPerReply = REPLY_TIMER_PERIOD_MS / MAIN_TIMER_PERIOD_MS;
    if (timers.replyRunning && ticks_ % kTicksPerReply == 0)
        program_->OnTimer(REPLY_TIMER_ID);
    machine_.waitTick();
    LogChanges();
}

void CliSession::LogChanges() {
    if (log_ == nullptr)
        return;
    const std::int32_t state = Context().mainState;
    const std::int32_t link = Context().iUsbConnectSts.load();
    if (state != loggedState_)
        *log_ << "[tick " << ticks_ << "] state " << state << "\n";
    if (link != loggedLink_)
        *log_ << "[tick " << ticks_ << "] link mode " << link << "\n";
    loggedState_ = state;
    loggedLink_ = link;
}

bool CliSession::RunUntil(const std::function<bool()>& pred, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (closed_ || std::chrono::steady_clock::now() > deadline)
            return false;
        Tick();
    }
    return true;
}
