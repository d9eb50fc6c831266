#pragma once
// The install progress dialog (template 130): created hidden with the main window and kept for
// every install. It has no close box; Close (1) hides it once the install has ended. Every show
// and hide resets the state icon, the title, the bar and Close, but keeps the step text.
// Window thread only.
#include "app/ports/ProgressDialogPort.h"
#include "settings/win32/DialogWindow.h"

class CInstallDlg final : public DialogWindow, public ProgressDialogPort {
  public:
    CInstallDlg(HINSTANCE instance, HWND owner);

    // ProgressDialogPort.
    void Show() override;
    void Hide() override;
    void ShowStep(const std::u16string& text, int percent) override;
    void ShowStepText(const std::u16string& text) override;
    void ShowOutcome(bool succeeded) override;

    // The number of the icon now shown (131, 144 or 145).
    int StateIcon() const { return stateIcon_; }

  protected:
    bool OnCommand(int id, int code) override;

  private:
    void Reset();
    void SetStateIcon(int id);

    HINSTANCE instance_;
    int stateIcon_ = 0;
};
