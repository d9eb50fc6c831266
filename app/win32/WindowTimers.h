#pragma once
// The main window's two timers as SetTimer/KillTimer on the window: MAIN_TIMER_ID (4129, 100 ms)
// runs the controller, REPLY_TIMER_ID (4145, 300 ms, set at every connect) the reply decoder.
// Their WM_TIMER reaches the window's handler with the id. Window thread only.
#include <windows.h>

#include "app/ports/MainTimerPort.h"
#include "app/ports/ReplyTimerPort.h"

class WindowTimers final : public MainTimerPort, public ReplyTimerPort {
  public:
    explicit WindowTimers(HWND window) : window_(window) {}

    // MainTimerPort.
    void Stop() override;
    void Restart() override;
    // ReplyTimerPort.
    void Start() override;

    // Both stop for good (window teardown).
    void StopAll();

  private:
    HWND window_;
    bool stopped_ = false;
};
