#pragma once
// What the main window's handlers hand on to the program: timer ticks, device changes and the
// user's commands. The program object binds them to the controller; tests bind a recorder.
// Called on the window thread only.
#include <string>

class WindowCommands {
  public:
    virtual ~WindowCommands() = default;

    virtual void OnTimer(int timerId) = 0;
    // Device changes have been queued by the notifier: run them now, on the window thread.
    virtual void DeliverDeviceChanges() = 0;

    virtual void OnSearch() = 0;
    virtual void OnMakeSelected() = 0;
    virtual void OnResultClicked(int row) = 0;
    virtual void OnInstall() = 0;
    virtual void OnFeatureActivation() = 0;
    virtual void OnSettings() = 0;

    // The text of the identity message.
    virtual std::u16string IdentitySummary() = 0;
    // The window is going away: stop the report threads and close the channel.
    virtual void OnWindowDestroyed() = 0;
};
