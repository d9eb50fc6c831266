#pragma once
// The install progress dialog as the user sees it, also written into the diagnostics log: each
// step text once, and the outcome. Forwards every call to the real dialog.
#include <string>

#include "app/ports/ProgressDialogPort.h"

class DiagnosticsLog;

class LoggedProgressDialog final : public ProgressDialogPort {
  public:
    LoggedProgressDialog(ProgressDialogPort& dialog, DiagnosticsLog* log) : dialog_(dialog), log_(log) {}

    void Show() override { dialog_.Show(); }
    void Hide() override { dialog_.Hide(); }
    void ShowStep(const std::u16string& text, int percent) override;
    void ShowStepText(const std::u16string& text) override;
    void ShowOutcome(bool succeeded) override;

  private:
    void Note(const std::u16string& text);

    ProgressDialogPort& dialog_;
    DiagnosticsLog* log_;
    std::u16string lastText_;
    bool outcomeShown_ = false;
};
