#include "tests/qt/MainWindowRig.h"

#include <gtest/gtest.h>
#include <QApplication>

#include "app/qt/CInstallDlg.h"
#include "app/qt/SearchPanelWidgets.h"
#include "settings/qt/SettingsWindows.h"
#include "tests/qt/SettingsTestSupport.h"

static DemoData PreparedData(const QTemporaryDir& dir) {
    DemoData data;
    if (auto error = WriteDemoData(dir.path().toStdString(), data)) {
        ADD_FAILURE() << *error;
    }
    return data;
}

MainWindowRig::MainWindowRig(const std::string& model, bool plugged)
    : data((EnsureQtApplication(), PreparedData(dataDir))),
      machine(model, MachineSetup{DemoInterfaceOptions, &clock, /*watchVolumeOnItsOwn=*/true}) {
    if (!plugged) {
        machine.Unplug();
    }
    window = std::make_unique<CKioDlg>();
    window->SetMessagePort(messages);
    const EndpointSettings endpoints = DemoEndpoints(data, "https://www.telvix-interfaces.com/");
    UpdaterAdapters adapters{machine.Bus().Hid(),
                             machine.Bus().Volumes(),
                             machine.Bus().Notifications(),
                             [this] { relay.Post(); },
                             clock,
                             system,
                             endpoints,
                             *window,
                             *window,
                             window->SearchPanel(),
                             window->InstallDialog(),
                             window->Settings().FeatureResults(),
                             messages,
                             mainTimer,
                             replyTimer};
    program = std::make_unique<UpdaterProgram>(adapters);
    commands = std::make_unique<ProgramCommands>(*program, &window->Settings());
    window->Bind(commands.get());
    relay.SetHandler([this] { program->DeliverDeviceChanges(); });
    program->Start();
    window->show();
}

MainWindowRig::~MainWindowRig() {
    relay.SetHandler(nullptr);
    window->Teardown();
    window->Bind(nullptr);
    program.reset();
    window.reset();
    QApplication::processEvents();
}

void MainWindowRig::Tick() {
    QApplication::processEvents();
    if (mainTimer.running) {
        program->OnTimer(MAIN_TIMER_ID);
    }
    if (replyTimer.running && ++ticks % 3 == 0) {
        program->OnTimer(REPLY_TIMER_ID);
    }
    clock.Advance(std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS));
    QApplication::processEvents();
}

bool MainWindowRig::RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        Tick();
        // Workers and the emulated interface run on their own threads in real time.
        std::this_thread::yield();
    }
    return true;
}
