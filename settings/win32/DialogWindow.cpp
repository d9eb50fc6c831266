#include "settings/win32/DialogWindow.h"

DialogWindow::~DialogWindow() {
    if (handle_ != nullptr) {
        SetWindowLongPtrW(handle_, DWLP_USER, 0);
        DestroyWindow(handle_);
    }
}

void DialogWindow::Create(HINSTANCE instance, int templateId, HWND parent) {
    handle_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, &DialogWindow::Procedure,
                                 reinterpret_cast<LPARAM>(this));
}

void DialogWindow::ShowOrRaise() {
    if (Visible()) {
        SetForegroundWindow(handle_);
        BringWindowToTop(handle_);
    } else {
        ShowWindow(handle_, SW_SHOW);
    }
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lParam);
        self->handle_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            // lParam 0: ShowWindow was called; other values are a parent's minimise or restore.
            if (wParam != FALSE && lParam == 0) {
                OnShowing();
            }
            return FALSE;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam), HIWORD(wParam))) {
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                Hide();  // Cancel, Escape and the close box: nothing is stored
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? TRUE : FALSE;
        case WM_CLOSE:
            Hide();
            return TRUE;
        default:
            return FALSE;
    }
}
