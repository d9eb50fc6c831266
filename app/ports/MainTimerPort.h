#pragma once
// The controller's 100 ms tick timer. The controller stops it around modal questions so that no
// tick re-enters it while a question is open. Called on the window thread only.
class MainTimerPort {
  public:
    virtual ~MainTimerPort() = default;

    virtual void Stop() = 0;
    // Sets the timer again with its 100 ms period; restarting a running timer restarts its period.
    virtual void Restart() = 0;
};
