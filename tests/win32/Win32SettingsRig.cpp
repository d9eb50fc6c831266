#include "Win32SettingsRig.h"

#include <commctrl.h>

#include "settings/TabHostLogic.h"
#include "settings/win32/DialogControls.h"

bool FakeFeatureLabels::QueryFeatureLabels(const std::u16string& mcuSerial,
                                           const std::function<void(int, const std::u16string&)>& onRow) {
    const auto it = rows.find(mcuSerial);
    if (it != rows.end()) {
        for (const auto& [index, text] : it->second) {
            onRow(index, text);
        }
    }
    return true;
}

HiddenMainWindow::HiddenMainWindow() {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    handle_ = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

HiddenMainWindow::~HiddenMainWindow() {
    DestroyWindow(handle_);
}

Win32SettingsRig::Win32SettingsRig(UpdaterContext* context, MessagePort* messagePort,
                                   FeatureLabelSource* labelSource, std::function<void()> requestOverlayRead)
    : windows(std::make_unique<SettingsWindows>(mainWindow.Handle(), GetModuleHandleW(nullptr))) {
    if (!requestOverlayRead) {
        requestOverlayRead = [this] { ++overlayRequests; };
    }
    windows->Bind(SettingsServices{
        context != nullptr ? context : &ctx, messagePort != nullptr ? messagePort : &messages,
        std::move(requestOverlayRead), labelSource != nullptr ? labelSource : &labels});
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ChooseItem(HWND dialog, int id, int index) {
    const HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void ChooseTab(HWND host, int index) {
    const HWND tabs = GetDlgItem(host, TabHostIds::TAB_CONTROL);
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{tabs, static_cast<UINT_PTR>(TabHostIds::TAB_CONTROL), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(host, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::u16string TextOf(HWND dialog, int id) {
    return ControlText(dialog, id);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
