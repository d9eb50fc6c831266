#pragma once
// The catalogue search's panel bound to the main window's widgets: the make, model and year
// drop-down lists, the manual-transmission box, the results label, the result list and Install.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "catalogue/SearchPanel.h"

struct SearchWidgets {
    QComboBox* make;
    QComboBox* model;
    QComboBox* year;
    QCheckBox* manual;
    QLabel* resultLabel;
    QTableWidget* results;
    QPushButton* install;
};

class SearchPanelWidgets : public SearchPanel {
  public:
    explicit SearchPanelWidgets(const SearchWidgets& widgets);

    // Sets the result list's columns, widths and styles.
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
    QComboBox* List(SearchList list) const;

    SearchWidgets w_;
    int updating_ = 0;
};
