#pragma once
// The catalogue search's panel on the main window's controls, found by id: the make, model and
// year drop-down lists (1002-1004), the manual-transmission box (1005), the results label (1007),
// the result list (1001, a report-view list view) and Install (1013). Window thread only.
#include <windows.h>

#include "catalogue/SearchPanel.h"

class SearchPanelControls final : public SearchPanel {
  public:
    explicit SearchPanelControls(HWND window) : window_(window) {}

    // Sets the result list's columns (widths scaled to the window's DPI) and styles.
    void SetUpResultList();
    // True while the panel itself changes the result list (no user action).
    bool Updating() const { return updating_ > 0; }

    void ClearList(SearchList list) override;
    void AddListEntry(SearchList list, const std::u16string& text) override;
    void SelectListEntry(SearchList list, int index) override;
    int SelectedListIndex(SearchList list) const override;
    std::u16string SelectedListText(SearchList list) const override;

    bool ManualTransmissionChecked() const override;
    void SetResultLabel(const std::u16string& text) override;

    void ClearResults() override;
    void AppendResult(const ResultRow& row) override;
    int ResultCount() const override;
    std::u16string ResultText(int row, ResultColumn column) const override;

    void EnableInstall(bool enabled) override;

  private:
    HWND List(SearchList list) const;
    HWND Results() const;

    HWND window_;
    int updating_ = 0;
};
