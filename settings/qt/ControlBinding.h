#pragma once
// Moves the plain control states of the settings logic to and from Qt widgets. Writing a state
// never emits the widgets' user signals (clicked), so handlers only see the user's own actions.
// Window thread only.
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <initializer_list>
#include <vector>

#include "settings/Controls.h"

void ShowState(QCheckBox* box, const CheckBoxState& state);
CheckBoxState ReadState(const QCheckBox* box);

// Rebuilds the list's items, then selects (or clears the selection) and sets the enabled state.
void ShowState(QComboBox* list, const ComboBoxState& state);
ComboBoxState ReadState(const QComboBox* list);

// A group of radio buttons in the group's order; kNoSelection unchecks them all.
class RadioGroup {
  public:
    RadioGroup() = default;
    RadioGroup(std::initializer_list<QRadioButton*> buttons) : buttons_(buttons) {}

    void Show(const RadioGroupState& state) const;
    RadioGroupState Read() const;

  private:
    std::vector<QRadioButton*> buttons_;
};
