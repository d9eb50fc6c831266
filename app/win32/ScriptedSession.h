#pragma once
// A scripted demo session that drives the main window by control id and has screenshots taken
// of its main states: no interface, connected and identified, search results, install in
// progress, install finished, a failed install and the About box. For each it prints
// "SHOT <name> <x> <y> <width> <height>" (the screen area of the windows to capture) on standard
// output, holds the controller and waits until <dir>/<name>.png exists (scripts/screenshots-windows
// captures the Xvfb screen into it). It closes the main window when done. Window thread only.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/ports/MessagePort.h"

class CKioDlg;
class DemoMachine;

class ScriptedSession {
  public:
    // outputDir: where the PNGs appear, as this program names the folder.
    ScriptedSession(CKioDlg& window, DemoMachine& machine, std::wstring outputDir);
    ~ScriptedSession();

    void Start();
    // 0 when every screenshot was taken, 1 when a step timed out.
    int ExitCode() const { return exitCode_; }
    // The session's questions are answered with their first button (Yes or OK) and logged.
    MessagePort& Messages() { return messages_; }

  private:
    struct Step {
        const char* what;
        std::function<bool()> ready;
        std::function<void()> action;
    };
    class AnsweringMessages final : public MessagePort {
      public:
        MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) override;
    };

    static void CALLBACK OnTick(HWND window, UINT message, UINT_PTR id, DWORD time);
    void Tick();
    void RequestShot(const char* name);
    bool WaitingForShot();
    void ClickResultRow(int row);
    bool After(DWORD ms) const { return GetTickCount() - stepStart_ >= ms; }

    CKioDlg& window_;
    DemoMachine& machine_;
    std::wstring outputDir_;
    AnsweringMessages messages_;
    std::vector<Step> steps_;
    std::size_t current_ = 0;
    DWORD stepStart_ = 0;
    std::wstring pendingShot_;
    DWORD shotStart_ = 0;
    int exitCode_ = 0;
};
