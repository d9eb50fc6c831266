#pragma once
// The background database worker: one thread per operation, which opens its own writable
// connection, runs the operation, closes, and stores DB_DONE or DB_FAILED in dbResult with release
// ordering after every other output (software record, label_serial, dbRowCount). The window
// thread polls dbResult with acquire ordering.
//
// The run's inputs (the operation, mfg_id, mcu_serial, the interface's software and vehicle
// texts, the install record's values) are copied on the window thread when it starts: the window
// may change those fields while the run goes on, and the thread reads only its copy.
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueDb.h"
#include "catalogue/InstallRecord.h"
#include "platform/Clock.h"

class InstallJournal;
class DiagnosticsLog;

// What one run reads.
struct DatabaseRunInput {
    std::int32_t operation = 0;
    std::u16string mfgId;
    std::u16string mcuSerial;
    std::uint16_t softwareId = 0;
    std::uint8_t softwareBuild = 0;
    std::u16string vehicleMake;  // the configuration's texts, widened from Latin-1
    std::u16string vehicleModel;
    InstallRecord record;        // DB_OP_RECORD_INSTALL: the values to send
    std::int64_t journalId = 0;  // the record's journal entry; 0 when it is not journaled
};

// The inputs of a run of operation, taken from the context on the calling (window) thread.
DatabaseRunInput CopyRunInput(const UpdaterContext& ctx, std::int32_t operation, LocalDate today);

// What the worker works with besides the catalogue; all optional.
struct DatabaseWorkerHooks {
    // Install records are stored here before they are sent and marked when the catalogue took
    // them; a record that failed stays pending for a retry.
    InstallJournal* journal = nullptr;
    DiagnosticsLog* log = nullptr;
    // Called on the worker thread after a run that reached the catalogue and succeeded.
    std::function<void()> catalogueReached;
};

// The run itself, on the calling thread: what the worker thread executes.
void RunDatabaseOperation(UpdaterContext& ctx, const DatabaseRunInput& input, const CatalogueDb& db,
                          const DatabaseWorkerHooks& hooks = {});
// Copies the inputs of ctx.dbOperation from ctx and runs it on the calling thread.
void RunDatabaseOperation(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock);

class DatabaseWorker {
  public:
    DatabaseWorker(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock,
                   DatabaseWorkerHooks hooks = {})
        : ctx_(ctx), db_(db), clock_(clock), hooks_(std::move(hooks)) {}
    // Waits for a run still in progress, so that no thread outlives the context.
    ~DatabaseWorker();
    DatabaseWorker(const DatabaseWorker&) = delete;
    DatabaseWorker& operator=(const DatabaseWorker&) = delete;

    // Stores the operation, copies its inputs (journaling an install record's values), sets
    // dbResult to DB_BUSY and starts the run's thread. The previous run has ended by then (the
    // controller starts one only after its result); should it not have, it is waited for first.
    void Start(std::int32_t operation);

  private:
    UpdaterContext& ctx_;
    const CatalogueDb& db_;
    const Clock& clock_;
    DatabaseWorkerHooks hooks_;
    std::thread thread_;
};
