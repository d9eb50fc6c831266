#pragma once
// The controller's operations bound to the real subsystems: the device link, the command set,
// the catalogue and the image fetch. Window thread only.
#include <functional>

#include "app/ControllerOperations.h"

struct UpdaterContext;
class DeviceLink;
class LinkWindow;
class CommandSet;
class CatalogueDb;
class DatabaseWorker;
class VehicleSearch;
class SearchPanel;
class InstallJournal;

struct LinkedSubsystems {
    UpdaterContext& context;
    DeviceLink& link;
    LinkWindow& window;
    CommandSet& commands;
    const CatalogueDb& catalogue;
    DatabaseWorker& databaseWorker;
    VehicleSearch& search;
    const SearchPanel& searchPanel;
    InstallJournal* journal = nullptr;
};

class LinkedOperations final : public ControllerOperations {
  public:
    explicit LinkedOperations(LinkedSubsystems subsystems) : s_(subsystems) {}

    void ConnectInterface() override;
    bool IssueCommand(CommandRequest request) override;
    void StopReportWriter() override;
    bool OdbcDriverPresent() override;
    void FillVehicleLists() override;
    void StartDatabaseWorker(std::int32_t operation) override;
    bool LoadSelectedSoftware() override;
    bool LoadImageDetails() override;
    HidBootloaderLookup LookUpHidBootloader() override;
    int FetchImage() override;
    void JournalInstallStart(bool upgrade) override;
    void JournalInstallEnd(bool succeeded, std::u16string_view outcome) override;

  private:
    LinkedSubsystems s_;
};
