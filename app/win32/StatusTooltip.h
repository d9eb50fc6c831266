#pragma once
// The tooltip of the USB status icon: the colour legend, up to 400 pixels wide, hidden after
// 10 s. It sees the mouse through RelayEvent, which the message loop calls for every message of
// the main window before anything else. Window thread only.
#include <windows.h>

class StatusTooltip {
  public:
    StatusTooltip(HWND window, HWND icon);
    ~StatusTooltip();
    StatusTooltip(const StatusTooltip&) = delete;
    StatusTooltip& operator=(const StatusTooltip&) = delete;

    void RelayEvent(const MSG& message);
    HWND Handle() const { return tooltip_; }

  private:
    HWND tooltip_ = nullptr;
};
