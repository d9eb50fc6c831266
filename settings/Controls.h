#pragma once
// Plain states of the controls a settings window shows. The pure fill and accept functions work on
// these; a window only copies them to and from its widgets (by the control ids kept beside each
// state struct). Defaults are those of the dialog templates: enabled, unticked, empty lists.
#include <string>
#include <vector>

constexpr int kNoSelection = -1;

// Ids shared by every settings window.
constexpr int IDC_OK = 1;  // created hidden, never shown
constexpr int IDC_CANCEL = 2;

struct CheckBoxState {
    bool checked = false;
    bool enabled = true;
};

struct ComboBoxState {
    std::vector<std::u16string> items;
    int selection = kNoSelection;  // index into items, or kNoSelection
    bool enabled = true;

    void Clear() {
        items.clear();
        selection = kNoSelection;
    }
    // Selects index when the list has such an item, otherwise nothing (as a list control does).
    void Select(int index) {
        selection = index >= 0 && index < static_cast<int>(items.size()) ? index : kNoSelection;
    }
    bool HasSelection() const { return selection >= 0 && selection < static_cast<int>(items.size()); }
};

// A group of radio buttons: the index of the selected button in the group's order.
struct RadioGroupState {
    int selection = kNoSelection;
};
