#pragma once
// The whole program built from its adapters: the shared context, the device link, the catalogue
// search, the command set, the main controller and the hooks between them. The Qt application,
// the headless test harness and the command-line front end all start the program through this
// object, in the same order:
//
//   UpdaterProgram program(adapters);
//   program.Start();                 // window initialisation: MS_START, timer, version check
//   ... deliver OnTimer(MAIN_TIMER_ID) every 100 ms, OnTimer(REPLY_TIMER_ID) every 300 ms while
//       the reply timer runs, OnDeviceChange(change) for every device notification, and the
//       window commands (OnInstall, OnFeatureActivation, the search commands) ...
//   program.Shutdown();              // window destruction: stops the report threads
//
// Everything but the constructor's adapters runs on one thread, the window thread.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/ports/DeviceAreaPort.h"
#include "app/ports/FeatureResultPort.h"
#include "app/ports/MainTimerPort.h"
#include "app/ports/MessagePort.h"
#include "app/ports/ProgressDialogPort.h"
#include "app/ports/SearchAreaPort.h"
#include "app/ports/SystemPort.h"
#include "catalogue/EndpointSettings.h"

class Clock;
class SearchPanel;
class HidBus;
class VolumePort;
class DeviceNotificationPort;
struct DeviceChange;
class ReplyTimerPort;
class DiagnosticsLog;
struct UpdaterContext;
class MainController;

// What the program is built from. Every reference must outlive the program.
struct UpdaterAdapters {
    // The machine, real or emulated.
    HidBus& bus;
    VolumePort& volumes;
    // Arrivals and removals come in on the port's own thread and are queued; the window thread
    // delivers them with DeliverDeviceChanges(). deviceChangeQueued, when set, is called on the
    // notifying thread after each one, so a front end can schedule that delivery.
    DeviceNotificationPort& notifications;
    std::function<void()> deviceChangeQueued;
    Clock& clock;
    SystemPort& system;
    // Catalogue connection, FTP endpoint and maker's web address.
    EndpointSettings endpoints;
    // The windows, or their headless stand-ins.
    DeviceAreaPort& deviceArea;
    SearchAreaPort& searchArea;
    SearchPanel& searchPanel;
    ProgressDialogPort& progress;
    FeatureResultPort& features;
    MessagePort& messages;
    MainTimerPort& mainTimer;
    ReplyTimerPort& replyTimer;
    // The install journal's file (made with its folder when missing); empty: installs are not
    // journaled. The front ends give DefaultInstallJournalFile().
    std::filesystem::path installJournal = {};
    // Where support's diagnostics go; nullptr: nowhere.
    DiagnosticsLog* diagnostics = nullptr;
};

class UpdaterProgram {
  public:
    explicit UpdaterProgram(const UpdaterAdapters& adapters);
    ~UpdaterProgram();
    UpdaterProgram(const UpdaterProgram&) = delete;
    UpdaterProgram& operator=(const UpdaterProgram&) = delete;

    // The window's initialisation: resets the controller's and the link's flags, stores MS_START
    // and REPLY_PENDING, shows "Device disconnected", sets the main timer, asks for the install
    // records the catalogue did not take to be sent again (in the background), then runs the
    // updater version check (which may show its message while ticks already arrive).
    void Start();
    // The window's destruction: when a link was opened, stops the report threads and closes the
    // channel; ends the subscription to device notifications, so deviceChangeQueued is not called
    // once this returns. Worker threads still running are not waited for. Called at most once;
    // the destructor calls it when nobody did.
    void Shutdown();

    // The window's timer handler: MAIN_TIMER_ID runs the controller, REPLY_TIMER_ID the reply
    // decoder, any other id nothing.
    void OnTimer(int timerId);
    // Runs OnDeviceChange for every notification queued since the last call, in arrival order.
    void DeliverDeviceChanges();
    // One device-change notification: its event code (0x8004: removal) and, when known, the device.
    void OnDeviceChange(const DeviceChange& change);

    // Window commands.
    void OnInstall();
    // Stores MS_IDLE and sets featureReadRequest; while an install runs it tells the user why not
    // instead and stores nothing. True when the command was taken.
    bool OnFeatureActivation();
    void OnSearch();
    void OnMakeSelected();
    void OnResultClicked(int row);
    // Sends read-overlay (0x65) for the settings windows; refused unless in application mode.
    void RequestOverlayRead();
    // The identity message's text.
    std::u16string IdentitySummary() const;

    UpdaterContext& Context();
    MainController& Controller();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    bool shutDown_ = false;
};
