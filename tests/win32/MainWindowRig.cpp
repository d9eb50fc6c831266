#include "MainWindowRig.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/ControllerFields.h"

#include <thread>

#include "app/win32/CInstallDlg.h"
#include "app/win32/SearchPanelControls.h"
#include "resources/win32/main_ids.h"
#include "settings/win32/SettingsWindows.h"

namespace {
DemoData PreparedData(const ScratchFolder& dir) {
    DemoData data;
    if (auto error = WriteDemoData(dir.Path(), data)) {
        ADD_FAILURE() << *error;
    }
    return data;
}

void PumpWindowMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
}  // namespace

MainWindowRig::MainWindowRig(const std::string& model)
    : data(PreparedData(dataDir)),
      machine(model, MachineSetup{DemoInterfaceOptions, &clock, /*watchVolumeOnItsOwn=*/true}) {
    window = std::make_unique<CKioDlg>(GetModuleHandleW(nullptr));
    window->SetMessagePort(messages);
    const EndpointSettings endpoints = DemoEndpoints(data, "https://www.telvix-interfaces.com/");
    UpdaterAdapters adapters{machine.Bus().Hid(),
                             machine.Bus().Volumes(),
                             machine.Bus().Notifications(),
                             [this] { window->PostDeviceChanges(); },
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
    program->Start();
    window->ShowWindow();
}

MainWindowRig::~MainWindowRig() {
    window->Teardown();
    window->Bind(nullptr);
    program.reset();
    window.reset();
    PumpWindowMessages();
}

HWND MainWindowRig::Progress() const {
    return window->InstallDialog().Handle();
}

void MainWindowRig::Tick() {
    PumpWindowMessages();
    if (mainTimer.running) {
        program->OnTimer(MAIN_TIMER_ID);
    }
    if (replyTimer.running && ++ticks % 3 == 0) {
        program->OnTimer(REPLY_TIMER_ID);
    }
    clock.Advance(std::chrono::milliseconds(MAIN_TIMER_PERIOD_MS));
    PumpWindowMessages();
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

std::wstring WindowText(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void ClickResultRow(HWND mainWindow, int row) {
    const HWND list = GetDlgItem(mainWindow, IDC_1001);
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_1001;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageW(mainWindow, WM_NOTIFY, IDC_1001, reinterpret_cast<LPARAM>(&click));
}
