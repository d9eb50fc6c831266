#pragma once
// The background database worker: one thread per operation, which opens its own writable
// connection, runs the operation named by dbOperation, closes, and stores DB_DONE or DB_FAILED in
// dbResult with release ordering after every other output (software record, label_serial,
// dbRowCount). The window thread polls dbResult with acquire ordering.
#include <cstdint>
#include <thread>

#include "app/UpdaterContext.h"
#include "catalogue/CatalogueDb.h"
#include "platform/Clock.h"

// The run itself, on the calling thread: what the worker thread executes.
void RunDatabaseOperation(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock);

class DatabaseWorker {
  public:
    DatabaseWorker(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock)
        : ctx_(ctx), db_(db), clock_(clock) {}
    // Waits for a run still in progress, so that no thread outlives the context.
    ~DatabaseWorker();
    DatabaseWorker(const DatabaseWorker&) = delete;
    DatabaseWorker& operator=(const DatabaseWorker&) = delete;

    // Stores the operation, sets dbResult to DB_BUSY and starts the run's thread. The previous run
    // has ended by then (the controller starts one only after its result); should it not have, it
    // is waited for first.
    void Start(std::int32_t operation);

  private:
    UpdaterContext& ctx_;
    const CatalogueDb& db_;
    const Clock& clock_;
    std::thread thread_;
};
