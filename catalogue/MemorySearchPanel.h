#pragma once
// A search panel without widgets: the three lists with their selection, the check box, the
// results label and the result list, kept as plain members. The command line prints from it and
// the headless harness reads it in tests. Window thread only.
#include <array>
#include <string>
#include <vector>

#include "catalogue/SearchPanel.h"

class MemorySearchPanel final : public SearchPanel {
  public:
    struct List {
        std::vector<std::u16string> entries;
        int selected = -1;
    };

    void ClearList(SearchList list) override { Of(list) = {}; }
    void AddListEntry(SearchList list, const std::u16string& text) override {
        Of(list).entries.push_back(text);
    }
    void SelectListEntry(SearchList list, int index) override;
    int SelectedListIndex(SearchList list) const override { return Of(list).selected; }
    std::u16string SelectedListText(SearchList list) const override;
    bool ManualTransmissionChecked() const override { return manualTransmission; }
    void SetResultLabel(const std::u16string& text) override { resultLabel = text; }
    void ClearResults() override { results.clear(); }
    void AppendResult(const ResultRow& row) override { results.push_back(row); }
    int ResultCount() const override { return static_cast<int>(results.size()); }
    std::u16string ResultText(int row, ResultColumn column) const override;
    void EnableInstall(bool enabled) override { installEnabled = enabled; }

    // Selects the entry with exactly this text; false when the list has none.
    bool Select(SearchList list, const std::u16string& text);
    // The same, with A-Z and a-z taken as equal (what a user types on a command line).
    bool SelectIgnoringCase(SearchList list, const std::u16string& text);
    const List& Entries(SearchList list) const { return Of(list); }

    std::array<List, 3> lists;
    bool manualTransmission = false;
    std::u16string resultLabel;
    std::vector<ResultRow> results;
    bool installEnabled = false;

  private:
    template <typename Same>
    bool SelectFirst(SearchList list, const std::u16string& text, Same same);
    List& Of(SearchList list) { return lists[static_cast<std::size_t>(list)]; }
    const List& Of(SearchList list) const { return lists[static_cast<std::size_t>(list)]; }
};
