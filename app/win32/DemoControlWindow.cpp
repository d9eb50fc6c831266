#include "app/win32/DemoControlWindow.h"

#include "FixtureCatalogue.h"
#include "platform/win32/WideText.h"
#include "resources/win32/main_ids.h"
#include "sim/demo/DemoMachine.h"

namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 250;

std::wstring ModelEntry(const FixtureHardware& hardware) {
    return WideFromUtf8(hardware.mfg_id +
                        (hardware.hw_hid == 1 ? "  (HID bootloader)" : "  (update volume)"));
}
}  // namespace

DemoControlWindow::DemoControlWindow(DemoMachine& machine, HINSTANCE instance, HWND owner)
    : machine_(machine) {
    Create(instance, IDD_DEMO_CONTROLS, owner);
    const HWND models = Control(IDC_DEMO_MODEL);
    int index = 0;
    for (const FixtureHardware& hardware : FixtureHardwareModels()) {
        const std::wstring entry = ModelEntry(hardware);
        SendMessageW(models, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        if (hardware.mfg_id == machine.Model()) {
            SendMessageW(models, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        ++index;
    }
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(Handle(), kPollTimer, kPollPeriodMs, &DemoControlWindow::OnPoll);
    ShowMode();
}

DemoControlWindow::~DemoControlWindow() {
    KillTimer(Handle(), kPollTimer);
}

void CALLBACK DemoControlWindow::OnPoll(HWND window, UINT, UINT_PTR, DWORD) {
    auto* self = reinterpret_cast<DemoControlWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        self->ShowMode();
    }
}

bool DemoControlWindow::TranslateDialogMessage(MSG& message) {
    if (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd)) {
        return false;
    }
    return IsDialogMessageW(Handle(), &message) != FALSE;
}

bool DemoControlWindow::OnCommand(int id, int code) {
    switch (id) {
        case IDC_DEMO_MODEL:
            if (code == CBN_SELENDOK) {
                const auto index = SendMessageW(Control(IDC_DEMO_MODEL), CB_GETCURSEL, 0, 0);
                const auto& models = FixtureHardwareModels();
                if (index >= 0 && static_cast<std::size_t>(index) < models.size()) {
                    machine_.ChangeModel(models[static_cast<std::size_t>(index)].mfg_id);
                    machine_.SetFailFlash(IsDlgButtonChecked(Handle(), IDC_DEMO_FAIL) == BST_CHECKED);
                }
            }
            break;
        case IDC_DEMO_PLUG:
            machine_.Plug();
            break;
        case IDC_DEMO_UNPLUG:
            machine_.Unplug();
            break;
        case IDC_DEMO_REBOOT:
            machine_.Reboot();
            break;
        case IDC_DEMO_FAIL:
            machine_.SetFailFlash(IsDlgButtonChecked(Handle(), IDC_DEMO_FAIL) == BST_CHECKED);
            break;
        case IDCANCEL:
            return true;  // the demo's controls stay while the program runs
        default:
            return false;
    }
    ShowMode();
    return true;
}

void DemoControlWindow::ShowMode() {
    const DeviceMode mode = machine_.Mode();
    SetDlgItemTextW(Handle(), IDC_DEMO_STATE, WideFromUtf8(DeviceModeName(mode)).c_str());
    EnableWindow(Control(IDC_DEMO_PLUG), mode == DeviceMode::Unplugged);
    EnableWindow(Control(IDC_DEMO_UNPLUG), mode != DeviceMode::Unplugged);
    EnableWindow(Control(IDC_DEMO_REBOOT), mode != DeviceMode::Unplugged);
}
