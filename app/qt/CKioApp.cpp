#include "app/qt/CKioApp.h"

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/ProgramCommands.h"
#include "app/UpdaterProgram.h"
#include "app/qt/CInstallDlg.h"
#include "app/qt/CKioDlg.h"
#include "app/qt/DemoControlWindow.h"
#include "app/qt/DeviceChangeRelay.h"
#include "app/qt/ScriptedSession.h"
#include "app/qt/SearchPanelWidgets.h"
#include "app/qt/WindowResources.h"
#include "app/qt/WindowTimers.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/FeatureLabels.h"
#include "catalogue/InstallJournal.h"
#include "platform/Clock.h"
#include "platform/DiagnosticsLog.h"
#include "platform/linux/HidapiBus.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/MountedVolumes.h"
#include "platform/linux/UdevNotifications.h"
#include "settings/qt/SettingsWindows.h"
#include "sim/demo/DemoData.h"
#include "sim/demo/DemoMachine.h"
#include "sim/demo/DemoSystem.h"

namespace {
// The real machine: hidapi, the mounted volumes and udev.
struct RealMachine {
    HidapiBus bus;
    MountedVolumes volumes;
    UdevNotifications notifications;
};
}  // namespace

CKioApp::CKioApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("telvix-updater");
    setApplicationVersion("4.0.0");
    setOrganizationName("Local AppWizard-Generated Applications");
    EnsureWindowResources();
}

int CKioApp::InitInstance(const LaunchOptions& options) {
    // Declared first so that it outlives the program, which posts to it until it shuts down.
    DeviceChangeRelay relay;

    DiagnosticsLog diagnostics(DefaultDiagnosticsLogFile());
    EndpointSettings endpoints;
    std::filesystem::path journalFile;
    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<DemoMachine> demo;
    std::unique_ptr<RealMachine> real;
    HidBus* bus = nullptr;
    VolumePort* volumes = nullptr;
    DeviceNotificationPort* notifications = nullptr;
    if (options.demo) {
        QString dataDir = options.demoDataDir;
        if (dataDir.isEmpty()) {
            scratch = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/telvix-updater-demo-XXXXXX");
            dataDir = scratch->path();
        }
        DemoData data;
        if (auto error = WriteDemoData(dataDir.toStdString(), data)) {
            std::cerr << "telvix-updater: cannot prepare the demo data: " << *error << "\n";
            return 1;
        }
        endpoints = DemoEndpoints(data, DefaultEndpointSettings().makerWebAddress);
        // The demo's installs are journaled with its data, never with the user's own.
        journalFile = std::filesystem::path(dataDir.toStdString()) / "journal.sqlite";
        demo = std::make_unique<DemoMachine>(options.demoModel);
        bus = &demo->Bus().Hid();
        volumes = &demo->Bus().Volumes();
        notifications = &demo->Bus().Notifications();
    } else {
        std::string error;
        endpoints = LoadEndpointSettings(SettingsLocationsFromEnvironment(), &error);
        if (!error.empty()) {
            std::cerr << "telvix-updater: " << error << "\n";
        }
        journalFile = DefaultInstallJournalFile();
        real = std::make_unique<RealMachine>();
        bus = &real->bus;
        volumes = &real->volumes;
        notifications = &real->notifications;
    }

    // The window initialisation: the window and its hidden dialogs first, then the program on it.
    CKioDlg window;
    window.SetMakerWebAddress(QString::fromStdString(endpoints.makerWebAddress));
    LinuxSystem linuxSystem([&window] { window.CloseWithOk(); });
    DemoSystem demoSystem(linuxSystem);
    SystemPort& system = options.demo ? static_cast<SystemPort&>(demoSystem) : linuxSystem;
    SystemClock clock;

    UpdaterAdapters adapters{*bus,
                             *volumes,
                             *notifications,
                             [&relay] { relay.Post(); },
                             clock,
                             system,
                             endpoints,
                             window,
                             window,
                             window.SearchPanel(),
                             window.InstallDialog(),
                             window.Settings().FeatureResults(),
                             window.Messages(),
                             window.Timers(),
                             window.Timers(),
                             journalFile,
                             &diagnostics};
    UpdaterProgram program(adapters);
    CatalogueDb labelCatalogue(endpoints);
    CatalogueFeatureLabels labels(labelCatalogue);
    window.Settings().Bind(SettingsServices{&program.Context(), &window.Messages(),
                                            [&program] { program.RequestOverlayRead(); }, &labels});
    ProgramCommands commands(program, &window.Settings());
    window.Bind(&commands);
    relay.SetHandler([&program] { program.DeliverDeviceChanges(); });

    std::unique_ptr<DemoControlWindow> demoControls;
    std::unique_ptr<ScriptedSession> session;
    QObject::connect(&window, &QDialog::finished, this, &QCoreApplication::quit);
    program.Start();
    window.show();
    if (demo) {
        demoControls = std::make_unique<DemoControlWindow>(*demo);
        demoControls->move(window.frameGeometry().topRight() + QPoint(16, 0));
        demoControls->show();
        if (!options.screenshotDir.isEmpty()) {
            session = std::make_unique<ScriptedSession>(window, *demo, *demoControls, options.screenshotDir);
            session->Start();
        }
    }
    exec();

    // The window's destruction: timers stop, the report threads end, the channel closes.
    relay.SetHandler(nullptr);
    window.Teardown();
    window.Bind(nullptr);
    return session ? session->ExitCode() : 0;
}
