#pragma once
// One modeless dialog (or tab page) from a resource template, created hidden and living until the
// object goes. Subclasses handle commands and notifications; every showing through ShowWindow
// (not the restoring of a minimised window) calls OnShowing first. Closing a window only hides
// it. Window thread only.
#include <windows.h>

class DialogWindow {
  public:
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;
    virtual ~DialogWindow();

    HWND Handle() const { return handle_; }
    HWND Control(int id) const { return GetDlgItem(handle_, id); }
    bool Visible() const { return IsWindowVisible(handle_) != FALSE; }
    // A hidden window is shown (and so filled); an open one is brought to the front.
    void ShowOrRaise();
    void Hide() { ShowWindow(handle_, SW_HIDE); }

  protected:
    DialogWindow() = default;
    // Creates the dialog hidden; a page's parent is its host, a window's parent its owner.
    void Create(HINSTANCE instance, int templateId, HWND parent);

    virtual void OnShowing() {}
    // A WM_COMMAND from a control; true when handled.
    virtual bool OnCommand(int id, int code) {
        (void)id;
        (void)code;
        return false;
    }
    virtual bool OnNotify(const NMHDR& header) {
        (void)header;
        return false;
    }

  private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};
