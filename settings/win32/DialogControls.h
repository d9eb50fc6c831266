#pragma once
// Moves the plain control states of the settings logic to and from the controls of a Win32
// dialog, found by their ids. Writing a state sends no notification to the dialog (BM_SETCHECK,
// CB_SETCURSEL and EnableWindow notify nobody), so handlers only see the user's own actions.
// Window thread only.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "settings/Controls.h"

void ShowState(HWND dialog, int id, const CheckBoxState& state);
CheckBoxState ReadCheckBox(HWND dialog, int id);

// Rebuilds the list's items, then selects (or clears the selection) and sets the enabled state.
void ShowState(HWND dialog, int id, const ComboBoxState& state);
ComboBoxState ReadComboBox(HWND dialog, int id);

void SetControlText(HWND dialog, int id, const std::u16string& text);
std::u16string ControlText(HWND dialog, int id);

// A group of radio buttons in the group's order; kNoSelection unchecks them all.
class RadioGroup {
  public:
    RadioGroup() = default;
    RadioGroup(std::initializer_list<int> ids) : ids_(ids) {}

    void Show(HWND dialog, const RadioGroupState& state) const;
    RadioGroupState Read(HWND dialog) const;

  private:
    std::vector<int> ids_;
};
