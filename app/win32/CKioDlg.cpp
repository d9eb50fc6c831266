#include "app/win32/CKioDlg.h"

#include <commctrl.h>

#include "app/WindowCommands.h"
#include "app/win32/CInstallDlg.h"
#include "app/win32/KeyFilter.h"
#include "app/win32/MessageBoxes.h"
#include "app/win32/SearchPanelControls.h"
#include "app/win32/SharedStrings.h"
#include "app/win32/StatusTooltip.h"
#include "app/win32/WindowIcons.h"
#include "app/win32/WindowTimers.h"
#include "platform/win32/WideText.h"
#include "resources/win32/main_ids.h"
#include "settings/win32/SettingsWindows.h"

namespace {
std::u16string ControlText(HWND window, int id) {
    const HWND control = GetDlgItem(window, id);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Utf16FromWide(text);
}

bool Belongs(HWND window, HWND target) {
    return target == window || IsChild(window, target);
}
}  // namespace

CKioDlg::CKioDlg(HINSTANCE instance) : instance_(instance) {
    // The window icon's number is string 104 of the table.
    const int iconNumber = shared_text::ApplicationIconNumber();
    icon_ = LoadIconSized(instance, iconNumber, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcon_ =
        LoadIconSized(instance, iconNumber, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, &CKioDlg::Procedure,
                       reinterpret_cast<LPARAM>(this));
}

CKioDlg::~CKioDlg() {
    Teardown();
    // The dialogs it owns go first, while their owner still exists.
    settings_.reset();
    installDlg_.reset();
    tooltip_.reset();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

INT_PTR CALLBACK CKioDlg::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CKioDlg*>(lParam);
        self->window_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->SetUpTexts();
        self->SetUpAboutEntry();
        self->SetUpChildren();
        return FALSE;  // no focus of its own
    }
    auto* self = reinterpret_cast<CKioDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

void CKioDlg::SetUpTexts() {
    SetWindowTextW(window_, shared_text::Numbered(shared_text::WindowTitleId()).c_str());
    SetDlgItemTextW(window_, IDC_1008, shared_text::Numbered(shared_text::DeviceGroupId()).c_str());
}

void CKioDlg::SetUpAboutEntry() {
    const std::wstring entry = shared_text::Numbered(shared_text::AboutEntryId());
    const HMENU menu = GetSystemMenu(window_, FALSE);
    if (menu == nullptr || entry.empty()) {
        return;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(shared_text::AboutCommand()), entry.c_str());
}

void CKioDlg::SetUpChildren() {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    tooltip_ = std::make_unique<StatusTooltip>(window_, GetDlgItem(window_, IDC_1024));
    messageBoxes_ = std::make_unique<MessageBoxes>(window_);
    messages_ = messageBoxes_.get();
    searchPanel_ = std::make_unique<SearchPanelControls>(window_);
    timers_ = std::make_unique<WindowTimers>(window_);
    // The install progress dialog first, then the settings windows and the features dialog.
    installDlg_ = std::make_unique<CInstallDlg>(instance_, window_);
    settings_ = std::make_unique<SettingsWindows>(window_, instance_);
    SetStatusIcon(ICON_USB_DISCONNECTED);
    SetStatusText(Utf16FromWide(shared_text::DeviceDisconnected()));
    searchPanel_->SetUpResultList();
    ShowIconOnButton(instance_, GetDlgItem(window_, IDC_1006), IDI_MAGNIFIER);
    ShowIconOnButton(instance_, GetDlgItem(window_, IDC_1013), IDI_CHIP_INSTALL);
    ShowIconInControl(instance_, GetDlgItem(window_, IDC_1029), IDI_INFORMATION_SIGN);
}

INT_PTR CKioDlg::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (commands_ != nullptr) {
                commands_->OnTimer(static_cast<int>(wParam));
            }
            return TRUE;
        case WM_APP_DEVICE_CHANGES:
            if (commands_ != nullptr) {
                commands_->DeliverDeviceChanges();
            }
            return TRUE;
        case WM_DEVICECHANGE:
            if (deviceChange_) {
                deviceChange_(wParam, lParam);
            }
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_SYSCOMMAND:
            if (static_cast<int>(wParam & 0xFFF0) == shared_text::AboutCommand()) {
                ShowAboutBox(instance_, window_, about_);
                return TRUE;
            }
            return FALSE;  // the system's own handling
        case WM_PAINT:
            return PaintMinimized() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(icon_);
        case WM_CLOSE:
            CloseWithOk();
            return TRUE;
        default:
            return FALSE;
    }
}

bool CKioDlg::OnCommand(int id, int code) {
    if (commands_ == nullptr) {
        return false;
    }
    switch (id) {
        case IDC_1006:
            commands_->OnSearch();
            return true;
        case IDC_1013:
            commands_->OnInstall();
            return true;
        case IDC_1048:
            commands_->OnFeatureActivation();
            return true;
        case IDC_1035:
            commands_->OnSettings();
            return true;
        case IDC_1002:
            // The user picked a make and closed the list (mouse or keyboard).
            if (code == CBN_SELENDOK) {
                commands_->OnMakeSelected();
            }
            return true;
        case IDC_1029:
            if (code == STN_CLICKED) {
                ShowIdentityMessage();
            }
            return true;
        case IDCANCEL:
            return true;  // the close box arrives as WM_CLOSE; Escape never closes the window
        default:
            return false;
    }
}

bool CKioDlg::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_1001 || commands_ == nullptr) {
        return false;
    }
    if (header.code == NM_CLICK) {
        commands_->OnResultClicked(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        return true;
    }
    // A row chosen with the keyboard counts as a click on it, so Install acts on the row shown.
    if (header.code == LVN_ITEMCHANGED && !searchPanel_->Updating() && GetFocus() == header.hwndFrom) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const bool nowSelected =
            (change.uNewState & LVIS_SELECTED) != 0 && (change.uOldState & LVIS_SELECTED) == 0;
        if (nowSelected && (GetKeyState(VK_LBUTTON) & 0x8000) == 0) {
            commands_->OnResultClicked(change.iItem);
        }
        return true;
    }
    return false;
}

bool CKioDlg::PaintMinimized() {
    if (!IsIconic(window_)) {
        return false;
    }
    PAINTSTRUCT paint;
    const HDC context = BeginPaint(window_, &paint);
    RECT area;
    GetClientRect(window_, &area);
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    DrawIcon(context, (area.right - width + 1) / 2, (area.bottom - height + 1) / 2, icon_);
    EndPaint(window_, &paint);
    return true;
}

void CKioDlg::ShowIdentityMessage() {
    if (commands_ != nullptr) {
        messages_->Show(commands_->IdentitySummary(), MessageIcon::None, MessageButtons::Ok);
    }
}

MessagePort& CKioDlg::Messages() {
    return *messageBoxes_;
}

void CKioDlg::ShowWindow() {
    ::ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

bool CKioDlg::PreTranslateMessage(MSG& message) {
    if (Belongs(window_, message.hwnd)) {
        tooltip_->RelayEvent(message);
        return FilterDialogKeys(message) || IsDialogMessageW(window_, &message) != FALSE;
    }
    if (settings_->TranslateDialogMessage(message)) {
        return true;
    }
    const HWND progress = installDlg_->Handle();
    if (Belongs(progress, message.hwnd)) {
        return FilterDialogKeys(message) || IsDialogMessageW(progress, &message) != FALSE;
    }
    return false;
}

void CKioDlg::PostDeviceChanges() {
    PostMessageW(window_, WM_APP_DEVICE_CHANGES, 0, 0);
}

void CKioDlg::Teardown() {
    if (tornDown_) {
        return;
    }
    tornDown_ = true;
    if (timers_) {
        timers_->StopAll();
    }
    if (commands_ != nullptr) {
        commands_->OnWindowDestroyed();
    }
    commands_ = nullptr;
}

void CKioDlg::CloseWithOk() {
    ::ShowWindow(window_, SW_HIDE);
    if (closed_) {
        closed_();
    }
}

void CKioDlg::Show(int id, bool shown) {
    ::ShowWindow(GetDlgItem(window_, id), shown ? SW_SHOW : SW_HIDE);
}

void CKioDlg::Enable(int id, bool enabled) {
    EnableWindow(GetDlgItem(window_, id), enabled ? TRUE : FALSE);
}

void CKioDlg::SetStatusIcon(StatusIcon icon) {
    statusIcon_ = icon;
    ShowIconInControl(instance_, GetDlgItem(window_, IDC_1024), icon);
}

void CKioDlg::SetVehicleText(const std::u16string& text) {
    SetDlgItemTextW(window_, IDC_1020, WideFromUtf16(text).c_str());
}

std::u16string CKioDlg::VehicleText() const {
    return ControlText(window_, IDC_1020);
}

void CKioDlg::SetFeaturesText(const std::u16string& text) {
    SetDlgItemTextW(window_, IDC_1021, WideFromUtf16(text).c_str());
}

void CKioDlg::SetStatusText(const std::u16string& text) {
    SetDlgItemTextW(window_, IDC_1022, WideFromUtf16(text).c_str());
}

void CKioDlg::ShowSettingsButton(bool shown) {
    Show(IDC_1035, shown);
}

void CKioDlg::EnableSettingsButton(bool enabled) {
    Enable(IDC_1035, enabled);
}

void CKioDlg::ShowFeatureButton(bool shown) {
    Show(IDC_1048, shown);
}

void CKioDlg::EnableFeatureButton(bool enabled) {
    Enable(IDC_1048, enabled);
}

void CKioDlg::EnableVehicleLists(bool enabled) {
    for (int id : {IDC_1002, IDC_1003, IDC_1004, IDC_1005}) {
        Enable(id, enabled);
    }
}

void CKioDlg::EnableSearch(bool enabled) {
    Enable(IDC_1006, enabled);
}
