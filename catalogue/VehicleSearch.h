#pragma once
// The vehicle search of the main window: fills the make, model and year lists for the connected
// interface's model, runs the search into the result list and SearchRows, and records the clicked
// row. Window thread only; every step opens and closes its own read-only connection. A statement
// that fails ends the step with the driver's message in an error box.
#include <functional>

#include "app/UpdaterContext.h"
#include "app/ports/MessagePort.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/SearchPanel.h"
#include "platform/Clock.h"

// Make and model texts as the statements use them: the catalogue's column width. (A cut to 15
// characters made every make or model longer than that unsearchable, though listed.)
inline constexpr std::size_t kSearchTextLimit = 64;
inline constexpr std::size_t kYearTextLimit = 9;

class VehicleSearch {
  public:
    // findUpdateVolume looks for an attached update volume; when it finds one it has set mfg_id to
    // the volume's label and volumeRoot, and answers true.
    VehicleSearch(UpdaterContext& ctx, SearchPanel& panel, const CatalogueDb& db, MessagePort& messages,
                  const Clock& clock, std::function<bool()> findUpdateVolume);

    // Rebuilds all three lists (on every interface connection).
    void FillVehicleLists();
    // Rebuilds the model list for the make chosen (on a confirmed make choice).
    void FillModelList();
    // Runs the search. At most kMaxSearchRows rows are listed and kept; further rows are left out,
    // and the label gives the full count and says that only the first ones are listed.
    void RunSearch();
    // A click on the result list: row is -1 when the click hit no row.
    void SelectResultRow(int row);

  private:
    void ShowListQuery(const SqlStatement& statement, SearchList list, const char* column,
                       CatalogueConnection& connection);

    UpdaterContext& ctx_;
    SearchPanel& panel_;
    const CatalogueDb& db_;
    MessagePort& messages_;
    const Clock& clock_;
    std::function<bool()> findUpdateVolume_;
};
