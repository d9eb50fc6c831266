#include "tests/support/HarnessSearchPanel.h"

std::u16string HarnessSearchPanel::ResultText(int row, ResultColumn column) const {
    if (row < 0 || row >= ResultCount())
        return {};
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

bool HarnessSearchPanel::Select(SearchList list, const std::u16string& text) {
    List& l = Of(list);
    for (std::size_t i = 0; i < l.entries.size(); ++i) {
        if (l.entries[i] == text) {
            l.selected = static_cast<int>(i);
            return true;
        }
    }
    return false;
}
