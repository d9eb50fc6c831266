#include "app/LoggedProgressDialog.h"

#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"

// A finished install keeps its last text on every tick until the dialog closes: written once.
void LoggedProgressDialog::Note(const std::u16string& text) {
    if (log_ != nullptr && text != lastText_)
        log_->Write("install", "step: " + ToUtf8(text));
    lastText_ = text;
}

void LoggedProgressDialog::ShowStep(const std::u16string& text, int percent) {
    outcomeShown_ = false;
    Note(text);
    dialog_.ShowStep(text, percent);
}

void LoggedProgressDialog::ShowStepText(const std::u16string& text) {
    Note(text);
    dialog_.ShowStepText(text);
}

void LoggedProgressDialog::ShowOutcome(bool succeeded) {
    if (log_ != nullptr && !outcomeShown_)
        log_->Write("install", succeeded ? "outcome: Successfully finished" : "outcome: Aborted");
    outcomeShown_ = true;
    dialog_.ShowOutcome(succeeded);
}
