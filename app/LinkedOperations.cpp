#include "app/LinkedOperations.h"

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueChecks.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/DatabaseWorker.h"
#include "catalogue/InstallJournal.h"
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

// The serial is known only once the interface's configuration has been read in this connection.
void LinkedOperations::JournalInstallStart(bool upgrade) {
    if (s_.journal == nullptr)
        return;
    const UpdaterContext& c = s_.context;
    const SoftwareRecord& software = c.softwareRecord;
    InstallStart start;
    start.mfg_id = c.mfg_id;
    if (c.identityKnown)
        start.mcu_serial = c.mcu_serial;
    start.entry_id = software.id;
    start.sw_id = software.sw_id;
    start.sw_build = software.sw_build;
    start.vehicle_make = software.vehicle_make;
    start.vehicle_model = software.vehicle_model;
    start.route = c.hidInstall == 1 ? u"HID bootloader" : u"update volume";
    if (upgrade)
        start.route += u", upgrade";
    s_.journal->BeginInstall(start);
}

void LinkedOperations::JournalInstallEnd(bool succeeded, std::u16string_view outcome) {
    if (s_.journal != nullptr)
        s_.journal->EndInstall(succeeded, std::u16string(outcome));
}
