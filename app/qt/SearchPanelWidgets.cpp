#include "app/qt/SearchPanelWidgets.h"

#include <QHeaderView>

#include "app/UpdateScope.h"
#include "app/qt/WindowResources.h"

SearchPanelWidgets::SearchPanelWidgets(const SearchWidgets& widgets) : w_(widgets) {}

void SearchPanelWidgets::SetUpResultList() {
    QTableWidget* table = w_.results;
    table->setColumnCount(static_cast<int>(std::size(kResultColumns)));
    QStringList titles;
    for (const ResultColumnLayout& column : kResultColumns) {
        titles << QString::fromUtf16(column.title);
    }
    table->setHorizontalHeaderLabels(titles);
    QHeaderView* header = table->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    for (int i = 0; i < static_cast<int>(std::size(kResultColumns)); ++i) {
        table->setColumnWidth(i, kResultColumns[i].width);
    }
    table->setSortingEnabled(false);
    table->setShowGrid(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // The selection stays as visible when the list loses the focus.
    QPalette palette = table->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    table->setPalette(palette);
}

QComboBox* SearchPanelWidgets::List(SearchList list) const {
    switch (list) {
        case SearchList::Make:
            return w_.make;
        case SearchList::Model:
            return w_.model;
        case SearchList::Year:
            return w_.year;
    }
    return w_.make;
}

void SearchPanelWidgets::ClearList(SearchList list) {
    List(list)->clear();
}

void SearchPanelWidgets::AddListEntry(SearchList list, const std::u16string& text) {
    List(list)->addItem(ToQString(text));
}

void SearchPanelWidgets::SelectListEntry(SearchList list, int index) {
    QComboBox* box = List(list);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int SearchPanelWidgets::SelectedListIndex(SearchList list) const {
    return List(list)->currentIndex();
}

std::u16string SearchPanelWidgets::SelectedListText(SearchList list) const {
    const QComboBox* box = List(list);
    return box->currentIndex() < 0 ? std::u16string() : FromQString(box->currentText());
}

bool SearchPanelWidgets::ManualTransmissionChecked() const {
    return w_.manual->isChecked();
}

void SearchPanelWidgets::SetResultLabel(const std::u16string& text) {
    w_.resultLabel->setText(ToQString(text));
    // The search blocks the window thread: show the label's new text before the query runs.
    w_.resultLabel->repaint();
}

void SearchPanelWidgets::ClearResults() {
    UpdateScope scope(updating_);
    w_.results->clearContents();
    w_.results->setRowCount(0);
}

void SearchPanelWidgets::AppendResult(const ResultRow& row) {
    UpdateScope scope(updating_);
    QTableWidget* table = w_.results;
    const int index = table->rowCount();
    table->insertRow(index);
    const std::u16string* cells[] = {&row.make, &row.model, &row.year, &row.features};
    for (int column = 0; column < 4; ++column) {
        auto* item = new QTableWidgetItem(ToQString(*cells[column]));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        table->setItem(index, column, item);
    }
}

int SearchPanelWidgets::ResultCount() const {
    return w_.results->rowCount();
}

std::u16string SearchPanelWidgets::ResultText(int row, ResultColumn column) const {
    const QTableWidgetItem* item = w_.results->item(row, static_cast<int>(column));
    return item == nullptr ? std::u16string() : FromQString(item->text());
}

void SearchPanelWidgets::EnableInstall(bool enabled) {
    w_.install->setEnabled(enabled);
}
