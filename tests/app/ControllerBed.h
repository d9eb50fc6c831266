#pragma once
// The controller alone, on fake ports and recording operations: the state table's rules without
// the device, the catalogue or the servers. A test sets the fields a request would fill and ticks.
#include <functional>
#include <vector>

#include "app/MainController.h"
#include "app/UpdaterContext.h"
#include "tests/support/FakeControllerPorts.h"
#include "tests/support/HarnessSearchPanel.h"

// Behaves like the dispatcher and the worker starters as far as the controller can see: requests
// outside application mode are refused, a request puts replyStatus to pending, a transfer or engine
// start clears ftpDone, a database run shows DB_BUSY.
class RecordingOperations final : public ControllerOperations {
  public:
    explicit RecordingOperations(UpdaterContext& context) : context_(context) {}

    void ConnectInterface() override {
        ++connects;
        if (onConnect)
            onConnect();
    }
    bool IssueCommand(CommandRequest request) override;
    void StopReportWriter() override { ++writerStops; }
    bool OdbcDriverPresent() override { return driverPresent; }
    void FillVehicleLists() override { ++listFills; }
    void StartDatabaseWorker(std::int32_t operation) override {
        context_.dbOperation = operation;
        context_.dbResult = DB_BUSY;
        databaseRuns.push_back(operation);
    }
    bool LoadSelectedSoftware() override { return selectedLoads; }
    bool LoadImageDetails() override { return detailsLoad; }
    HidBootloaderLookup LookUpHidBootloader() override {
        if (lookupFails)
            return {HidBootloader::LookupFailed, lookupMessage};
        return {hidModel ? HidBootloader::Present : HidBootloader::Absent, {}};
    }
    int FetchImage() override {
        ++fetches;
        return fetchResult;
    }
    void JournalInstallStart(bool upgrade) override { journalStarts.push_back(upgrade); }
    void JournalInstallEnd(bool succeeded, std::u16string_view outcome) override {
        journalEnds.emplace_back(succeeded, outcome);
    }

    bool Sent(CommandRequest request) const;

    std::vector<CommandRequest> requests;  // issued, not refused
    std::vector<std::int32_t> databaseRuns;
    std::vector<bool> journalStarts;  // upgrade flag of each
    std::vector<std::pair<bool, std::u16string>> journalEnds;
    std::function<void()> onConnect;
    int connects = 0, listFills = 0, writerStops = 0, fetches = 0;
    bool driverPresent = true, selectedLoads = true, detailsLoad = true, hidModel = false;
    bool lookupFails = false;  // the catalogue cannot say how the model is flashed
    std::u16string lookupMessage;
    int fetchResult = 0;

  private:
    UpdaterContext& context_;
};

struct ControllerBed {
    UpdaterContext context;
    FakeDeviceAreaPort deviceArea;
    FakeSearchAreaPort searchArea;
    HarnessSearchPanel searchPanel;
    FakeProgressDialogPort progress;
    FakeFeatureResultPort features;
    FakeMessagePort messages;
    FakeMainTimerPort timer;
    FakeSystemPort system;
    RecordingOperations operations{context};
    MainController controller{
        context,
        {deviceArea, searchArea, searchPanel, progress, features, messages, timer, system},
        operations};

    // Runs n ticks and returns the states they ran in.
    std::vector<std::int32_t> Tick(int n = 1);
    // Ticks until mainState is state (at most limit ticks); the states passed on the way.
    std::vector<std::int32_t> TickUntil(std::int32_t state, int limit = 50);
    // An interface in application mode that has been identified and is idle.
    void Idle();
};
