#pragma once
// The demo's control window (template 200): plugs, unplugs and reboots the emulated interface,
// chooses its model and can make its next install fail. It stands beside the main window and
// shows the interface's state, polled every 250 ms. Window thread only.
#include "settings/win32/DialogWindow.h"

class DemoMachine;

class DemoControlWindow final : public DialogWindow {
  public:
    DemoControlWindow(DemoMachine& machine, HINSTANCE instance, HWND owner);
    ~DemoControlWindow() override;

    // For the message loop: keyboard navigation of the window. True when taken.
    bool TranslateDialogMessage(MSG& message);

  protected:
    bool OnCommand(int id, int code) override;

  private:
    static void CALLBACK OnPoll(HWND window, UINT message, UINT_PTR id, DWORD time);
    void ShowMode();

    DemoMachine& machine_;
};
