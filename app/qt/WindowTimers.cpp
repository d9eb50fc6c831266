#include "app/qt/WindowTimers.h"

WindowTimers::WindowTimers(QObject* parent) : QObject(parent) {
    mainTimer_.setInterval(kMainTimerPeriodMs);
    mainTimer_.setTimerType(Qt::PreciseTimer);
    replyTimer_.setInterval(kReplyTimerPeriodMs);
    replyTimer_.setTimerType(Qt::PreciseTimer);
    connect(&mainTimer_, &QTimer::timeout, this, [this] { Fire(kMainTimerId); });
    connect(&replyTimer_, &QTimer::timeout, this, [this] { Fire(kReplyTimerId); });
}

void WindowTimers::StopAll() {
    mainTimer_.stop();
    replyTimer_.stop();
    handler_ = nullptr;
}

void WindowTimers::Fire(int timerId) {
    if (handler_) {
        handler_(timerId);
    }
}
