#include "app/win32/CKioApp.h"

#include <commctrl.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "app/ProgramCommands.h"
#include "app/UpdaterProgram.h"
#include "app/win32/CInstallDlg.h"
#include "app/win32/CKioDlg.h"
#include "app/win32/ConsoleOutput.h"
#include "app/win32/DemoControlWindow.h"
#include "app/win32/ScriptedSession.h"
#include "app/win32/SearchPanelControls.h"
#include "app/win32/WindowTimers.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/FeatureLabels.h"
#include "catalogue/InstallJournal.h"
#include "platform/Clock.h"
#include "platform/DiagnosticsLog.h"
#include "platform/ScratchDirectory.h"
#include "platform/SystemAdapters.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinDeviceNotifications.h"
#include "retrieval/TransferLibrary.h"
#include "settings/win32/SettingsWindows.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "sim/demo/DemoSystem.h"

namespace {

// The real machine: SetupAPI and the HID library, the drive letters, and the device
// notifications the main window receives.
struct RealMachine {
    std::unique_ptr<HidBus> bus = MakeHidBus();
    std::unique_ptr<VolumePort> volumes = MakeVolumePort();
    WinDeviceNotifications notifications{NotificationSource::CallerWindow};
};

// The demo's data folder; a scratch one goes with the run.
struct DemoFolder {
    std::filesystem::path path;
    bool scratch = false;
    ~DemoFolder() {
        std::error_code ignored;
        if (scratch && !path.empty()) {
            std::filesystem::remove_all(path, ignored);
        }
    }
};

void InitialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = 0xFF | ICC_LINK_CLASS;  // every control class, and the About box's link
    InitCommonControlsEx(&controls);
}

int RunMessageLoop(CKioDlg& window, DemoControlWindow* demoControls) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.PreTranslateMessage(message)) {
            continue;
        }
        if (demoControls != nullptr && demoControls->TranslateDialogMessage(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void PlaceBeside(HWND window, HWND beside) {
    RECT main{};
    GetWindowRect(beside, &main);
    SetWindowPos(window, nullptr, main.right + 16, main.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int RunDesktopProgram(HINSTANCE instance, const LaunchOptions& options) {
    TransferLibraryScope transfers;  // before the program starts any thread
    InitialiseCommonControls();

    DiagnosticsLog diagnostics(DefaultDiagnosticsLogFile());
    EndpointSettings endpoints;
    std::filesystem::path journalFile;
    DemoFolder demoFolder;
    std::unique_ptr<DemoMachine> demo;
    std::unique_ptr<RealMachine> real;
    HidBus* bus = nullptr;
    VolumePort* volumes = nullptr;
    DeviceNotificationPort* notifications = nullptr;
    if (options.demo) {
        demoFolder.path = options.demoDataDir.empty()
                              ? MakeScratchDirectory("telvix-updater-demo-")
                              : std::filesystem::path(WideFromUtf8(options.demoDataDir));
        demoFolder.scratch = options.demoDataDir.empty();
        DemoData data;
        if (auto error = WriteDemoData(demoFolder.path, data)) {
            WriteToStarter("telvix-updater: cannot prepare the demo data: " + *error + "\n", true);
            return 1;
        }
        endpoints = DemoEndpoints(data, DefaultEndpointSettings().makerWebAddress);
        // The demo's installs are journaled with its data, never with the user's own.
        journalFile = demoFolder.path / "journal.sqlite";
        demo = std::make_unique<DemoMachine>(options.demoModel);
        bus = &demo->Bus().Hid();
        volumes = &demo->Bus().Volumes();
        notifications = &demo->Bus().Notifications();
    } else {
        std::string error;
        endpoints = LoadEndpointSettings(SettingsLocationsFromEnvironment(), &error);
        if (!error.empty()) {
            diagnostics.Write("settings", error);
        }
        journalFile = DefaultInstallJournalFile();
        real = std::make_unique<RealMachine>();
        bus = real->bus.get();
        volumes = real->volumes.get();
        notifications = &real->notifications;
    }

    // The window initialisation: the window and its hidden dialogs first, then the program on it.
    CKioDlg window(instance);
    if (window.Handle() == nullptr) {
        WriteToStarter("telvix-updater: the main window cannot be created (no desktop to show it on?)\n",
                       true);
        return 1;
    }
    window.SetAboutDetails(AboutDetails{WideFromUtf8(endpoints.makerWebAddress), diagnostics.File()});
    window.SetClosedHandler([] { PostQuitMessage(0); });
    std::unique_ptr<ScriptedSession> session;
    if (demo && !options.screenshotDir.empty()) {
        session = std::make_unique<ScriptedSession>(window, *demo, WideFromUtf8(options.screenshotDir));
        window.SetMessagePort(session->Messages());
    }
    MessagePort& messages = session ? session->Messages() : window.Messages();
    std::unique_ptr<SystemPort> windowsSystem =
        MakeSystemPort([&window] { window.CloseWithOk(); },
                       [&messages](const std::u16string& line) {
                           messages.Show(line, MessageIcon::Error, MessageButtons::Ok);
                       });
    DemoSystem demoSystem(*windowsSystem);
    SystemPort& system = demo ? static_cast<SystemPort&>(demoSystem) : *windowsSystem;
    SystemClock clock;

    UpdaterAdapters adapters{*bus,
                             *volumes,
                             *notifications,
                             [&window] { window.PostDeviceChanges(); },
                             clock,
                             system,
                             endpoints,
                             window,
                             window,
                             window.SearchPanel(),
                             window.InstallDialog(),
                             window.Settings().FeatureResults(),
                             messages,
                             window.Timers(),
                             window.Timers(),
                             journalFile,
                             &diagnostics};
    UpdaterProgram program(adapters);
    CatalogueDb labelCatalogue(endpoints);
    CatalogueFeatureLabels labels(labelCatalogue);
    window.Settings().Bind(SettingsServices{&program.Context(), &messages,
                                            [&program] { program.RequestOverlayRead(); }, &labels});
    ProgramCommands commands(program, &window.Settings());
    window.Bind(&commands);
    void* hidRegistration = nullptr;
    if (real) {
        // WM_DEVICECHANGE of the main window reaches the device link.
        hidRegistration = RegisterHidNotifications(window.Handle());
        window.SetDeviceChangeHandler([&real](WPARAM event, LPARAM broadcast) {
            real->notifications.OnDeviceChange(event, reinterpret_cast<const void*>(broadcast));
        });
    }

    program.Start();
    std::unique_ptr<DemoControlWindow> demoControls;
    if (session) {
        SetWindowPos(window.Handle(), nullptr, 16, 16, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    window.ShowWindow();
    if (demo) {
        demoControls = std::make_unique<DemoControlWindow>(*demo, instance, nullptr);
        PlaceBeside(demoControls->Handle(), window.Handle());
        ShowWindow(demoControls->Handle(), SW_SHOWNOACTIVATE);
    }
    if (session) {
        session->Start();
    }
    RunMessageLoop(window, demoControls.get());

    // The window's destruction: timers stop, the report threads end, the channel closes.
    window.SetDeviceChangeHandler(nullptr);
    UnregisterHidNotifications(hidRegistration);
    window.Teardown();
    window.Bind(nullptr);
    return session ? session->ExitCode() : 0;
}
