#pragma once
// The install progress dialog. Showing or hiding it resets it (icon, title, bar at 0, Close
// disabled) but keeps the step text. Called on the window thread only.
#include <string>

class ProgressDialogPort {
  public:
    virtual ~ProgressDialogPort() = default;

    // Makes the dialog visible and active.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Sets the bar (0..100) and the step text.
    virtual void ShowStep(const std::u16string& text, int percent) = 0;
    // Sets the step text only.
    virtual void ShowStepText(const std::u16string& text) = 0;
    // Finishes the dialog: tick icon and "Successfully finished", or cross icon and "Aborted";
    // enables Close.
    virtual void ShowOutcome(bool succeeded) = 0;
};
