#pragma once
// A search panel without widgets for the headless harness: lists with a selection, the check
// box, the results label and the result list, all readable by tests.
#include <array>
#include <string>
#include <vector>

#include "catalogue/SearchPanel.h"

class HarnessSearchPanel final : public SearchPanel {
  public:
    struct List {
        std::vector<std::u16string> entries;
        int selected = -1;
    };

    void ClearList(SearchList list) override { Of(list) = {}; }
    void AddListEntry(SearchList list, const std::u16string& text) override {
        Of(list).entries.push_back(text);
    }
    void SelectListEntry(SearchList list, int index) override {
        List& l = Of(list);
        l.selected = index >= 0 && index < static_cast<int>(l.entries.size()) ? index : -1;
    }
    int SelectedListIndex(SearchList list) const override { return Of(list).selected; }
    std::u16string SelectedListText(SearchList list) const override {
        const List& l = Of(list);
        return l.selected >= 0 ? l.entries[static_cast<std::size_t>(l.selected)] : std::u16string();
    }
    bool ManualTransmissionChecked() const override { return manualTransmission; }
    void SetResultLabel(const std::u16string& text) override { resultLabel = text; }
    void ClearResults() override { results.clear(); }
    void AppendResult(const ResultRow& row) override { results.push_back(row); }
    int ResultCount() const override { return static_cast<int>(results.size()); }
    std::u16string ResultText(int row, ResultColumn column) const override;
    void EnableInstall(bool enabled) override { installEnabled = enabled; }

    // Selects the entry with this text; false when the list has none.
    bool Select(SearchList list, const std::u16string& text);

    std::array<List, 3> lists;
    bool manualTransmission = false;
    std::u16string resultLabel;
    std::vector<ResultRow> results;
    bool installEnabled = false;

  private:
    List& Of(SearchList list) { return lists[static_cast<std::size_t>(list)]; }
    const List& Of(SearchList list) const { return lists[static_cast<std::size_t>(list)]; }
};
