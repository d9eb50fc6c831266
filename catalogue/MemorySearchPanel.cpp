#include "catalogue/MemorySearchPanel.h"

#include <algorithm>

namespace {
char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
}  // namespace

void MemorySearchPanel::SelectListEntry(SearchList list, int index) {
    List& l = Of(list);
    l.selected = index >= 0 && index < static_cast<int>(l.entries.size()) ? index : -1;
}

std::u16string MemorySearchPanel::SelectedListText(SearchList list) const {
    const List& l = Of(list);
    return l.selected >= 0 ? l.entries[static_cast<std::size_t>(l.selected)] : std::u16string();
}

std::u16string MemorySearchPanel::ResultText(int row, ResultColumn column) const {
    if (row < 0 || row >= ResultCount()) {
        return {};
    }
    const ResultRow& r = results[static_cast<std::size_t>(row)];
    switch (column) {
        case ResultColumn::Make:
            return r.make;
        case ResultColumn::Model:
            return r.model;
        case ResultColumn::Year:
            return r.year;
        case ResultColumn::Features:
            return r.features;
    }
    return {};
}

template <typename Same>
bool MemorySearchPanel::SelectFirst(SearchList list, const std::u16string& text, Same same) {
    List& l = Of(list);
    for (std::size_t i = 0; i < l.entries.size(); ++i) {
        if (same(l.entries[i], text)) {
            l.selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

bool MemorySearchPanel::Select(SearchList list, const std::u16string& text) {
    return SelectFirst(list, text, [](const std::u16string& a, const std::u16string& b) { return a == b; });
}

bool MemorySearchPanel::SelectIgnoringCase(SearchList list, const std::u16string& text) {
    return SelectFirst(list, text, [](const std::u16string& a, const std::u16string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
                   return LowerAscii(x) == LowerAscii(y);
               });
    });
}
