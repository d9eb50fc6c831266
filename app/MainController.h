#pragma once
// The main controller: one numbered state in the shared context and one tick operation that the
// 100 ms main timer runs. Each tick performs the current state's action once: it starts at most
// one request (device command, database worker, FTP worker, flashing engine) or polls the field a
// request fills, and stores the next state. Everything here runs on the window thread.
#include <string_view>

#include "app/ControllerOperations.h"
#include "app/ControllerPorts.h"
#include "app/DeviceInfoView.h"
#include "app/UpdaterContext.h"

class MainController {
  public:
    MainController(UpdaterContext& context, ControllerPorts ports, ControllerOperations& operations);

    // Runs the action of mainState once.
    void RunMainState();
    void RestartMainTimer();
    // Shows the link mode of iUsbConnectSts in the main window.
    void ShowLinkStatus();
    // Fills the device information fields for one view.
    void ShowDeviceInfo(DeviceInfoView view);
    // The Install command: loads the selected entry, prepares the image for a HID model and enters
    // the install sequence. Works from any state.
    void OnInstall();

  private:
    // Start-up, connect, identification and upgrade offer (states 0 to 14).
    void StartUp();
    void CheckOdbcDriver();
    void Connect();
    void WaitConnect();
    void WaitConfig();
    void WaitLookup();
    void WaitUpgrade();
    void StartUpgrade();

    // Idle and the write and read requests it serves (states 19, 60 to 74).
    void ServeRequests();
    void WaitSettingsWrite(ControllerState written, ControllerState failed);
    // The result of a settings or OSD write, shown once per write.
    void ShowWriteResult(std::u16string_view text, MessageIcon icon);
    void WaitFeatureRead();
    void WaitFeatureWrite();
    void PollProgramming();
    void ShowFeatureWriteFailed();
    void WaitProgramming();
    bool ProgrammingGivenUp();

    // The install sequence (states 24 to 57, 71).
    void CheckAvailability();
    void WaitTransfer(ControllerState succeeded, ControllerState failed);
    void Reboot();
    void WaitLoader();
    void StartEngine();
    void DownloadFile();
    void WaitInit();
    void WaitApplication();
    void UpdateDatabase();
    void CheckIntegrity();
    void Installed();
    void StartFlash();
    void FollowFlash();
    void StartRecord();
    void WaitRecord();
    void WaitConfigRead(ControllerState read);
    void WaitConfigWrite();
    void WaitIntegrity();
    void FinishAborted(std::u16string_view text);

    // Sets hidInstall from the catalogue; for a HID model fetches the image, checks it and loads
    // the flashing engine. Returns the state that enters the install sequence, MS_DOWNLOAD_FAILED
    // when the image could not be prepared, or MS_IDLE (the dialog finished as aborted) when the
    // catalogue could not say how the model is flashed.
    ControllerState PrepareInstall(bool loadImageDetails);

    void PauseTimer();
    void StartWorker(std::int32_t operation, ControllerState next);
    void Request(CommandRequest request);
    void Step(std::u16string_view text, int percent);
    void Next(ControllerState state) { context_.mainState = state; }
    bool AskYesNo(std::u16string_view text, MessageIcon icon);

    UpdaterContext& context_;
    ControllerPorts ports_;
    ControllerOperations& operations_;
};
