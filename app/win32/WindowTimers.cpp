#include "app/win32/WindowTimers.h"

#include "app/ControllerFields.h"

void WindowTimers::Stop() {
    KillTimer(window_, MAIN_TIMER_ID);
}

void WindowTimers::Restart() {
    // SetTimer on an id already set replaces it: the period starts again.
    if (!stopped_) {
        SetTimer(window_, MAIN_TIMER_ID, MAIN_TIMER_PERIOD_MS, nullptr);
    }
}

void WindowTimers::Start() {
    if (!stopped_) {
        SetTimer(window_, REPLY_TIMER_ID, REPLY_TIMER_PERIOD_MS, nullptr);
    }
}

void WindowTimers::StopAll() {
    stopped_ = true;
    KillTimer(window_, MAIN_TIMER_ID);
    KillTimer(window_, REPLY_TIMER_ID);
}
