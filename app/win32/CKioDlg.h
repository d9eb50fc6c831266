#pragma once
// The main window (template 102): the device area with the USB status icon, the status and
// vehicle fields and the Settings and Feature Activation buttons; the search area with the
// vehicle lists, the result list and Install. It owns the program's timers and modeless dialogs,
// routes its commands to the program and shows what the controller decides through the device-
// and search-area ports. Everything runs on the window thread, except PostDeviceChanges.
//
//   CKioDlg window(instance);                  // created hidden, with its hidden dialogs
//   ... build the program on window, window.SearchPanel(), window.InstallDialog(), ...
//   window.Bind(&commands);  program.Start();  window.ShowWindow();
//   message loop: if (!window.PreTranslateMessage(msg)) { TranslateMessage; DispatchMessageW; }
//   window.Teardown();
#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/ports/DeviceAreaPort.h"
#include "app/ports/SearchAreaPort.h"
#include "app/win32/CAboutDlg.h"

class CInstallDlg;
class MessageBoxes;
class MessagePort;
class SearchPanelControls;
class SettingsWindows;
class StatusTooltip;
class WindowCommands;
class WindowTimers;

// Posted to the main window when device changes are queued for the window thread.
inline constexpr UINT WM_APP_DEVICE_CHANGES = WM_APP + 1;

class CKioDlg final : public DeviceAreaPort, public SearchAreaPort {
  public:
    explicit CKioDlg(HINSTANCE instance);
    ~CKioDlg() override;
    CKioDlg(const CKioDlg&) = delete;
    CKioDlg& operator=(const CKioDlg&) = delete;

    HWND Handle() const { return window_; }
    HINSTANCE Instance() const { return instance_; }
    SearchPanelControls& SearchPanel() { return *searchPanel_; }
    CInstallDlg& InstallDialog() { return *installDlg_; }
    WindowTimers& Timers() { return *timers_; }
    SettingsWindows& Settings() { return *settings_; }
    // MessageBoxW over this window.
    MessagePort& Messages();
    // Where the window's own messages go (the identity message); the message boxes by default.
    void SetMessagePort(MessagePort& messages) { messages_ = &messages; }
    void SetAboutDetails(AboutDetails details) { about_ = std::move(details); }
    // Every WM_DEVICECHANGE the window receives goes here (the real device link's notifications).
    void SetDeviceChangeHandler(std::function<void(WPARAM, LPARAM)> handler) {
        deviceChange_ = std::move(handler);
    }
    // Called when the window is closed (close box, system menu, or CloseWithOk).
    void SetClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }

    // Hands the window's handlers to the program; nullptr unbinds them.
    void Bind(WindowCommands* commands) { commands_ = commands; }
    void ShowWindow();
    // For the message loop: the tooltip sees the message first, then the settings windows, the
    // key filter and the dialogs' keyboard handling. True when the message was taken.
    bool PreTranslateMessage(MSG& message);
    // Any thread: schedules the delivery of queued device changes on the window thread.
    void PostDeviceChanges();
    // The window's destruction handling: stops the timers and closes the link. Runs once.
    void Teardown();
    // Closes the window with the OK result (the program ends).
    void CloseWithOk();

    // DeviceAreaPort.
    void SetStatusIcon(StatusIcon icon) override;
    void SetVehicleText(const std::u16string& text) override;
    std::u16string VehicleText() const override;
    void SetFeaturesText(const std::u16string& text) override;
    void SetStatusText(const std::u16string& text) override;
    void ShowSettingsButton(bool shown) override;
    void EnableSettingsButton(bool enabled) override;
    void ShowFeatureButton(bool shown) override;
    void EnableFeatureButton(bool enabled) override;

    // SearchAreaPort.
    void EnableVehicleLists(bool enabled) override;
    void EnableSearch(bool enabled) override;

    // The icon number the USB status icon shows now.
    int StatusIconNumber() const { return statusIcon_; }

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void SetUpTexts();
    void SetUpAboutEntry();
    void SetUpChildren();
    bool OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header);
    bool PaintMinimized();
    void ShowIdentityMessage();
    void Show(int id, bool shown);
    void Enable(int id, bool enabled);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<SearchPanelControls> searchPanel_;
    std::unique_ptr<MessageBoxes> messageBoxes_;
    MessagePort* messages_ = nullptr;
    std::unique_ptr<CInstallDlg> installDlg_;
    std::unique_ptr<SettingsWindows> settings_;
    std::unique_ptr<WindowTimers> timers_;
    std::unique_ptr<StatusTooltip> tooltip_;
    WindowCommands* commands_ = nullptr;
    AboutDetails about_;
    std::function<void(WPARAM, LPARAM)> deviceChange_;
    std::function<void()> closed_;
    int statusIcon_ = 0;
    bool tornDown_ = false;
};
