#pragma once
// The real Win32 main window with the real program on the demo setup: an emulated interface, the
// fixture catalogue as an SQLite file and its images as a file:// store. Message boxes are
// recorded instead of shown; the timers are driven by Tick(), one 100 ms period each, on a fake
// clock, so nothing waits for real protocol delays. Controls are reached by id, as a user's
// clicks reach them.
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "app/ProgramCommands.h"
#include "app/UpdaterProgram.h"
#include "app/win32/CKioDlg.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeControllerPorts.h"
#include "tests/support/ScratchFolder.h"

struct MainWindowRig {
    explicit MainWindowRig(const std::string& model = kDemoDefaultModel);
    ~MainWindowRig();

    // One main-timer period; every third also runs the reply decoder once it was started.
    void Tick();
    // Ticks until the condition holds; false after the real-time bound.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds bound = std::chrono::seconds(60));
    UpdaterContext& Context() { return program->Context(); }
    HWND Main() const { return window->Handle(); }
    HWND Progress() const;

    ScratchFolder dataDir{"telvix-win32-window"};
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

// The text of a window or of a control of a dialog.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// A click on a result row, as the list view reports it: the row selected, NM_CLICK to the window.
void ClickResultRow(HWND mainWindow, int row);
