#pragma once
// Shared pieces of the Win32 settings-window tests: the six windows on a plain hidden parent,
// bound to a context with recording stand-ins, and the user's actions sent by control id as the
// controls themselves would send them.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/UpdaterContext.h"
#include "settings/SettingsServices.h"
#include "settings/win32/SettingsWindows.h"
#include "tests/support/FakeControllerPorts.h"

// Labels per controller serial.
class FakeFeatureLabels final : public FeatureLabelSource {
  public:
    bool QueryFeatureLabels(const std::u16string& mcuSerial,
                            const std::function<void(int, const std::u16string&)>& onRow) override;

    std::map<std::u16string, std::vector<std::pair<int, std::u16string>>> rows;
};

// A hidden top-level window standing in for the main window.
class HiddenMainWindow {
  public:
    HiddenMainWindow();
    ~HiddenMainWindow();
    HWND Handle() const { return handle_; }

  private:
    HWND handle_ = nullptr;
};

// The windows bound to services; a test binds its own context or the rig's.
struct Win32SettingsRig {
    explicit Win32SettingsRig(UpdaterContext* context = nullptr, MessagePort* messagePort = nullptr,
                              FeatureLabelSource* labelSource = nullptr,
                              std::function<void()> requestOverlayRead = {});

    UpdaterContext ctx;
    FakeMessagePort messages;
    FakeFeatureLabels labels;
    int overlayRequests = 0;
    HiddenMainWindow mainWindow;
    std::unique_ptr<SettingsWindows> windows;
};

// A click on a button, check box or radio button of dialog.
void Click(HWND dialog, int id);
// Selects item index of a drop-down list and tells the dialog, as the user's choice does.
void ChooseItem(HWND dialog, int id, int index);
// Selects a tab of a host's tab control and sends the selection-change notification.
void ChooseTab(HWND host, int index);
bool IsChecked(HWND dialog, int id);
std::u16string TextOf(HWND dialog, int id);
// Runs the window messages waiting on this thread.
void PumpMessages();
