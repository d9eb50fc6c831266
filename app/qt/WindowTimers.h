#pragma once
// The main window's two timers on the window thread: MAIN_TIMER_ID (4129, 100 ms) runs the
// controller, REPLY_TIMER_ID (4145, 300 ms, started at every connect) runs the reply decoder.
// Both hand their id to one handler, as the window's timer handler dispatches by id.
#include <QObject>
#include <QTimer>
#include <functional>

#include "app/ports/MainTimerPort.h"
#include "app/ports/ReplyTimerPort.h"

inline constexpr int kMainTimerId = 4129;
inline constexpr int kMainTimerPeriodMs = 100;
inline constexpr int kReplyTimerId = 4145;
inline constexpr int kReplyTimerPeriodMs = 300;

class WindowTimers : public QObject, public MainTimerPort, public ReplyTimerPort {
    Q_OBJECT
  public:
    using Handler = std::function<void(int timerId)>;
    explicit WindowTimers(QObject* parent = nullptr);

    void SetHandler(Handler handler) { handler_ = std::move(handler); }

    // MainTimerPort.
    void Stop() override { mainTimer_.stop(); }
    void Restart() override { mainTimer_.start(); }
    // ReplyTimerPort.
    void Start() override { replyTimer_.start(); }

    // Stops both for good (window teardown).
    void StopAll();
    bool MainRunning() const { return mainTimer_.isActive(); }
    bool ReplyRunning() const { return replyTimer_.isActive(); }

  private:
    void Fire(int timerId);

    QTimer mainTimer_;
    QTimer replyTimer_;
    Handler handler_;
};
