#include "app/win32/SearchPanelControls.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

#include "app/UpdateScope.h"
#include "platform/win32/WideText.h"
#include "resources/win32/main_ids.h"

void SearchPanelControls::SetUpResultList() {
    const HWND list = Results();
    ListView_SetExtendedListViewStyle(list, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const UINT dpi = GetDpiForWindow(window_);
    int index = 0;
    for (const ResultColumnLayout& layout : kResultColumns) {
        std::wstring title = WideFromUtf16(layout.title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = MulDiv(layout.width, static_cast<int>(dpi == 0 ? 96 : dpi), 96);
        column.pszText = title.data();
        ListView_InsertColumn(list, index++, &column);
    }
}

HWND SearchPanelControls::List(SearchList list) const {
    switch (list) {
        case SearchList::Make:
            return GetDlgItem(window_, IDC_1002);
        case SearchList::Model:
            return GetDlgItem(window_, IDC_1003);
        case SearchList::Year:
            return GetDlgItem(window_, IDC_1004);
    }
    return GetDlgItem(window_, IDC_1002);
}

HWND SearchPanelControls::Results() const {
    return GetDlgItem(window_, IDC_1001);
}

void SearchPanelControls::ClearList(SearchList list) {
    SendMessageW(List(list), CB_RESETCONTENT, 0, 0);
}

void SearchPanelControls::AddListEntry(SearchList list, const std::u16string& text) {
    const std::wstring entry = WideFromUtf16(text);
    SendMessageW(List(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void SearchPanelControls::SelectListEntry(SearchList list, int index) {
    const HWND box = List(list);
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    SendMessageW(box, CB_SETCURSEL, index >= 0 && index < count ? static_cast<WPARAM>(index) : WPARAM(-1), 0);
}

int SearchPanelControls::SelectedListIndex(SearchList list) const {
    return static_cast<int>(SendMessageW(List(list), CB_GETCURSEL, 0, 0));
}

std::u16string SearchPanelControls::SelectedListText(SearchList list) const {
    const HWND box = List(list);
    const LRESULT index = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) {
        return {};
    }
    const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return Utf16FromWide(text);
}

bool SearchPanelControls::ManualTransmissionChecked() const {
    return IsDlgButtonChecked(window_, IDC_1005) == BST_CHECKED;
}

void SearchPanelControls::SetResultLabel(const std::u16string& text) {
    const HWND label = GetDlgItem(window_, IDC_1007);
    SetWindowTextW(label, WideFromUtf16(text).c_str());
    // The search blocks the window thread: show the label's new text before the query runs.
    UpdateWindow(label);
}

void SearchPanelControls::ClearResults() {
    UpdateScope scope(updating_);
    ListView_DeleteAllItems(Results());
}

void SearchPanelControls::AppendResult(const ResultRow& row) {
    UpdateScope scope(updating_);
    const HWND list = Results();
    std::wstring cells[] = {WideFromUtf16(row.make), WideFromUtf16(row.model), WideFromUtf16(row.year),
                            WideFromUtf16(row.features)};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = cells[0].data();
    const int index = ListView_InsertItem(list, &item);
    for (int column = 1; column < static_cast<int>(std::size(cells)); ++column) {
        ListView_SetItemText(list, index, column, cells[column].data());
    }
}

int SearchPanelControls::ResultCount() const {
    return ListView_GetItemCount(Results());
}

std::u16string SearchPanelControls::ResultText(int row, ResultColumn column) const {
    if (row < 0 || row >= ResultCount()) {
        return {};
    }
    wchar_t text[256] = L"";
    ListView_GetItemText(Results(), row, static_cast<int>(column), text, static_cast<int>(std::size(text)));
    return Utf16FromWide(text);
}

void SearchPanelControls::EnableInstall(bool enabled) {
    EnableWindow(GetDlgItem(window_, IDC_1013), enabled ? TRUE : FALSE);
}
