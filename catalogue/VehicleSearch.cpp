#include "catalogue/VehicleSearch.h"

#include "catalogue/CatalogueChecks.h"
#include "catalogue/CatalogueValues.h"
#include "catalogue/SearchStatements.h"
#include "platform/Text.h"

namespace {

std::u16string Cut(const std::u16string& text, std::size_t limit) {
    return text.substr(0, limit);
}

// rows is every row the query matched; when the table could not hold them all, the label says how
// many are listed.
std::u16string OutcomeLabel(std::int32_t rows, const std::u16string& make, const std::u16string& model,
                            const std::u16string& year, bool manual) {
    std::u16string text;
    if (rows == 0) {
        text = u"No records found for ";
    } else if (rows == 1) {
        text = u"One record found for ";
    } else {
        text = FromUtf8(std::to_string(rows)) + u" records found for ";
    }
    text += make + u" " + model + u" " + year;
    if (manual) {
        text += u" with manual transmission";
    }
    if (static_cast<std::size_t>(rows) > kMaxSearchRows) {
        text += u", the first " + FromUtf8(std::to_string(kMaxSearchRows)) + u" are listed";
    }
    return text;
}

}  // namespace

VehicleSearch::VehicleSearch(UpdaterContext& ctx, SearchPanel& panel, const CatalogueDb& db,
                             MessagePort& messages, const Clock& clock,
                             std::function<bool()> findUpdateVolume)
    : ctx_(ctx),
      panel_(panel),
      db_(db),
      messages_(messages),
      clock_(clock),
      findUpdateVolume_(std::move(findUpdateVolume)) {}

void VehicleSearch::ShowListQuery(const SqlStatement& statement, SearchList list, const char* column,
                                  CatalogueConnection& connection) {
    DbError error;
    std::int32_t rows = 0;
    if (!connection.Query(
            statement, [&](const OdbcRow& row) { panel_.AddListEntry(list, row.Text(column)); }, rows,
            error)) {
        ShowDatabaseError(messages_, error);
    }
}

void VehicleSearch::FillVehicleLists() {
    panel_.ClearList(SearchList::Make);
    panel_.ClearList(SearchList::Model);
    panel_.ClearList(SearchList::Year);
    panel_.AddListEntry(SearchList::Make, u"ALL MAKES");
    panel_.AddListEntry(SearchList::Model, u"ALL MODELS");
    panel_.AddListEntry(SearchList::Year, u"ALL YEARS");
    const int lastYear = clock_.Today().year + 1;
    for (int year = 2000; year <= lastYear; ++year) {
        panel_.AddListEntry(SearchList::Year, FromUtf8(std::to_string(year)));
    }
    DbError error;
    if (auto connection = db_.Open(OpenMode::ReadOnly, error)) {
        ShowListQuery(MakeListStatement(ctx_.mfg_id), SearchList::Make, "vehicle_make", *connection);
    }
    panel_.SelectListEntry(SearchList::Make, 0);
    panel_.SelectListEntry(SearchList::Model, 0);
    panel_.SelectListEntry(SearchList::Year, 0);
}

void VehicleSearch::FillModelList() {
    DbError error;
    if (auto connection = db_.Open(OpenMode::ReadOnly, error)) {
        panel_.ClearList(SearchList::Model);
        panel_.AddListEntry(SearchList::Model, u"ALL MODELS");
        const std::u16string make = Cut(panel_.SelectedListText(SearchList::Make), kSearchTextLimit);
        ShowListQuery(ModelListStatement(make, ctx_.mfg_id), SearchList::Model, "vehicle_model", *connection);
    }
    panel_.SelectListEntry(SearchList::Model, 0);
}

void VehicleSearch::RunSearch() {
    panel_.SetResultLabel(u"Searching...");
    std::u16string make = u"ALL makes";
    std::u16string model = u"ALL models";
    std::u16string year = u"ALL years";
    SearchChoice choice;
    choice.manualTransmission = panel_.ManualTransmissionChecked();
    choice.updateVolume = findUpdateVolume_ && findUpdateVolume_();
    choice.mfgId = ctx_.mfg_id;
    const int m = panel_.SelectedListIndex(SearchList::Make);
    const int d = panel_.SelectedListIndex(SearchList::Model);
    const int y = panel_.SelectedListIndex(SearchList::Year);
    if (m > 0) {
        make = Cut(panel_.SelectedListText(SearchList::Make), kSearchTextLimit);
        choice.makeChosen = true;
        choice.make = make;
    }
    if (d > 0) {
        model = Cut(panel_.SelectedListText(SearchList::Model), kSearchTextLimit);
        choice.modelChosen = true;
        choice.model = model;
    }
    if (y > 0) {
        year = Cut(panel_.SelectedListText(SearchList::Year), kYearTextLimit);
        choice.yearChosen = true;
        choice.year = y + 1999;
    }
    DbError error;
    auto connection = db_.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        panel_.SetResultLabel(u"Error: Can't create database connection, please try again latter");
        return;
    }
    // The old rows are gone, so a row index clicked before would point into the new list and
    // install an entry the user never picked: the selection goes with them.
    panel_.ClearResults();
    ctx_.selectedRow = -1;
    panel_.EnableInstall(false);
    std::int32_t listed = 0;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        SearchStatement(choice),
        [&](const OdbcRow& row) {
            if (static_cast<std::size_t>(listed) >= kMaxSearchRows) {
                return;  // the table holds no more; the list stays in step with it
            }
            panel_.AppendResult(ResultRow{row.Text("vehicle_make"), row.Text("vehicle_model"),
                                          row.Text("vehicle_year_from") + u"-" + row.Text("vehicle_year_to"),
                                          row.Text("sw_description")});
            SearchRow& kept = ctx_.SearchRows[static_cast<std::size_t>(listed)];
            kept.sw_id = DecimalAs<std::int32_t>(row.Text("sw_id"));
            kept.sw_build = DecimalAs<std::uint16_t>(row.Text("sw_build"));
            kept.sw_build_empty = IsBlank(row.Text("sw_build"));
            ++listed;
        },
        rows, error);
    connection.reset();
    if (!ok) {
        ShowDatabaseError(messages_, error);
        return;
    }
    panel_.SetResultLabel(OutcomeLabel(rows, make, model, year, choice.manualTransmission));
}

void VehicleSearch::SelectResultRow(int row) {
    ctx_.selectedRow = row;
    panel_.EnableInstall(true);
}
