#pragma once
// The real main window with the real program on the demo setup: an emulated interface, the
// fixture catalogue as an SQLite file and its images as a file:// store. Message boxes are
// recorded instead of shown; the timers are driven by Tick(), one 100 ms period each, on a fake
// clock, so nothing waits for real protocol delays.
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/ProgramCommands.h"
#include "app/UpdaterProgram.h"
#include "app/qt/CKioDlg.h"
#include "app/qt/DeviceChangeRelay.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeControllerPorts.h"

struct MainWindowRig {
    explicit MainWindowRig(const std::string& model = kDemoDefaultModel, bool plugged = true);
    ~MainWindowRig();

    // One main-timer period; every third also runs the reply decoder once it was started.
    void Tick();
    // Ticks until the condition holds; false after the real-time bound.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds bound = std::chrono::seconds(30));
    UpdaterContext& Context() { return program->Context(); }

    DeviceChangeRelay relay;
    QTemporaryDir dataDir;
    DemoData data;
    FakeClock clock;  // before the machine: its interface keeps time by it
    DemoMachine machine;
    FakeMessagePort messages;
    FakeSystemPort system;
    FakeMainTimerPort mainTimer;
    FakeReplyTimerPort replyTimer;
    std::unique_ptr<CKioDlg> window;
    std::unique_ptr<UpdaterProgram> program;
    std::unique_ptr<ProgramCommands> commands;
    int ticks = 0;
};

// The child control named IDC_<id> of the main window or one of its dialogs.
template <typename Widget>
Widget* Id(const QWidget& window, int id) {
    return window.findChild<Widget*>(QStringLiteral("IDC_%1").arg(id));
}
