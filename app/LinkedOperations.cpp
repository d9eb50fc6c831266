#include "app/LinkedOperations.h"

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueChecks.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/DatabaseWorker.h"
#include "catalogue/VehicleSearch.h"
#include "link/CommandSet.h"
#include "link/DeviceLink.h"
#include "retrieval/FetchImage.h"

namespace {
constexpr std::int32_t kToken = 1;
}

void LinkedOperations::ConnectInterface() {
    s_.link.ConnectInterface(s_.window);
}

bool LinkedOperations::IssueCommand(CommandRequest request) {
    return s_.commands.IssueCommand(request.type, kToken, request.direction) != 0;
}

void LinkedOperations::StopReportWriter() {
    s_.link.StopWriter();
}

bool LinkedOperations::OdbcDriverPresent() {
    return ::OdbcDriverPresent(s_.catalogue);
}

void LinkedOperations::FillVehicleLists() {
    s_.search.FillVehicleLists();
}

void LinkedOperations::StartDatabaseWorker(std::int32_t operation) {
    s_.databaseWorker.Start(operation);
}

bool LinkedOperations::LoadSelectedSoftware() {
    return ::LoadSelectedSoftware(s_.context, s_.searchPanel, s_.catalogue);
}

bool LinkedOperations::LoadImageDetails() {
    return ::LoadImageDetails(s_.context, s_.catalogue);
}

HidBootloaderLookup LinkedOperations::LookUpHidBootloader() {
    return ::LookUpHidBootloader(s_.context.mfg_id, s_.catalogue);
}

int LinkedOperations::FetchImage() {
    return ::FetchImage(s_.context);
}
