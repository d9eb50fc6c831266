#include "settings/qt/ControlBinding.h"

#include <QSignalBlocker>

#include "app/qt/WindowResources.h"

void ShowState(QCheckBox* box, const CheckBoxState& state) {
    box->setChecked(state.checked);
    box->setEnabled(state.enabled);
}

CheckBoxState ReadState(const QCheckBox* box) {
    return CheckBoxState{box->isChecked(), box->isEnabled()};
}

void ShowState(QComboBox* list, const ComboBoxState& state) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::u16string& item : state.items) {
        list->addItem(ToQString(item));
    }
    list->setCurrentIndex(state.HasSelection() ? state.selection : -1);
    list->setEnabled(state.enabled);
}

ComboBoxState ReadState(const QComboBox* list) {
    ComboBoxState state;
    state.items.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i) {
        state.items.push_back(FromQString(list->itemText(i)));
    }
    state.selection = list->currentIndex() >= 0 ? list->currentIndex() : kNoSelection;
    state.enabled = list->isEnabled();
    return state;
}

void RadioGroup::Show(const RadioGroupState& state) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        QRadioButton* button = buttons_[i];
        const bool selected = static_cast<int>(i) == state.selection;
        if (button->isChecked() != selected) {
            // An exclusive group refuses to uncheck its last checked button on its own.
            const bool exclusive = button->autoExclusive();
            button->setAutoExclusive(false);
            button->setChecked(selected);
            button->setAutoExclusive(exclusive);
        }
    }
}

RadioGroupState RadioGroup::Read() const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->isChecked()) {
            return RadioGroupState{static_cast<int>(i)};
        }
    }
    return RadioGroupState{};
}
