#include "settings/win32/DialogControls.h"

#include "platform/win32/WideText.h"

void ShowState(HWND dialog, int id, const CheckBoxState& state) {
    CheckDlgButton(dialog, id, state.checked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(GetDlgItem(dialog, id), state.enabled ? TRUE : FALSE);
}

CheckBoxState ReadCheckBox(HWND dialog, int id) {
    return CheckBoxState{IsDlgButtonChecked(dialog, id) == BST_CHECKED,
                         IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE};
}

void ShowState(HWND dialog, int id, const ComboBoxState& state) {
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& item : state.items) {
        const std::wstring text = WideFromUtf16(item);
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, state.HasSelection() ? state.selection : -1, 0);
    EnableWindow(GetDlgItem(dialog, id), state.enabled ? TRUE : FALSE);
}

ComboBoxState ReadComboBox(HWND dialog, int id) {
    ComboBoxState state;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0);
        std::wstring text(length > 0 ? static_cast<std::size_t>(length) : 0, L'\0');
        if (length > 0) {
            // CB_GETLBTEXT writes the terminating zero too: the buffer holds length + 1.
            text.resize(static_cast<std::size_t>(length) + 1);
            SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
        }
        state.items.push_back(Utf16FromWide(text));
    }
    const LRESULT selection = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    state.selection = selection == CB_ERR ? kNoSelection : static_cast<int>(selection);
    state.enabled = IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
    return state;
}

void SetControlText(HWND dialog, int id, const std::u16string& text) {
    SetDlgItemTextW(dialog, id, WideFromUtf16(text).c_str());
}

std::u16string ControlText(HWND dialog, int id) {
    const int length = GetWindowTextLengthW(GetDlgItem(dialog, id));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetDlgItemTextW(dialog, id, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return Utf16FromWide(text);
}

void RadioGroup::Show(HWND dialog, const RadioGroupState& state) const {
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        const bool selected = static_cast<int>(i) == state.selection;
        CheckDlgButton(dialog, ids_[i], selected ? BST_CHECKED : BST_UNCHECKED);
    }
}

RadioGroupState RadioGroup::Read(HWND dialog) const {
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        if (IsDlgButtonChecked(dialog, ids_[i]) == BST_CHECKED) {
            return RadioGroupState{static_cast<int>(i)};
        }
    }
    return RadioGroupState{};
}
