#pragma once
// The main window's search panel as the catalogue search sees it: the make, model and year
// drop-down lists (selection only, unsorted), the manual-transmission check box, the results
// label, the result list (four columns, rows in query order) and the Install button. The Qt
// window binds its widgets to it; tests bind a fake. Called on the window's thread only.
#include <string>

enum class SearchList { Make, Model, Year };

enum class ResultColumn { Make, Model, Year, Features };

struct ResultRow {
    std::u16string make;
    std::u16string model;
    std::u16string year;  // "from-to"
    std::u16string features;
};

class SearchPanel {
  public:
    virtual ~SearchPanel() = default;

    virtual void ClearList(SearchList list) = 0;
    virtual void AddListEntry(SearchList list, const std::u16string& text) = 0;
    virtual void SelectListEntry(SearchList list, int index) = 0;
    // Index of the selected entry, -1 when none is selected.
    virtual int SelectedListIndex(SearchList list) const = 0;
    // Text of the selected entry, empty when none is selected.
    virtual std::u16string SelectedListText(SearchList list) const = 0;

    virtual bool ManualTransmissionChecked() const = 0;
    virtual void SetResultLabel(const std::u16string& text) = 0;

    virtual void ClearResults() = 0;
    virtual void AppendResult(const ResultRow& row) = 0;
    virtual int ResultCount() const = 0;
    // Text of one cell; empty for a row or column that does not exist.
    virtual std::u16string ResultText(int row, ResultColumn column) const = 0;

    virtual void EnableInstall(bool enabled) = 0;
};

// Column headers and widths (pixels) of the result list.
struct ResultColumnLayout {
    const char16_t* title;
    int width;
};
inline constexpr ResultColumnLayout kResultColumns[] = {
    {u"MAKE", 110}, {u"MODEL", 110}, {u"YEAR", 110}, {u"FEATURES", 190}};
