#pragma once
// The 300 ms reply-decoder timer of the main window, started (or restarted) at every connect and
// never stopped. Called on the window thread only.
class ReplyTimerPort {
  public:
    virtual ~ReplyTimerPort() = default;
    virtual void Start() = 0;
};
