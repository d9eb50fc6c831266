#pragma once
// Sends again the install records the catalogue did not take, from the install journal, oldest
// first and each with the values stored there. Passes run on a thread of their own, never on the
// window's: at the program's start and whenever a database run has reached the catalogue.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "catalogue/CatalogueDb.h"
#include "catalogue/InstallJournal.h"

class DiagnosticsLog;

// One pass on the calling thread: returns how many records the catalogue took. stop, when given,
// is asked between records.
int RetryPendingRecords(InstallJournal& journal, const CatalogueDb& catalogue, DiagnosticsLog* log,
                        const std::function<bool()>& stop = {});

class PendingRecordRetry {
  public:
    // Every reference must outlive the object.
    PendingRecordRetry(InstallJournal& journal, const CatalogueDb& catalogue, DiagnosticsLog* log)
        : journal_(journal), catalogue_(catalogue), log_(log) {}
    // Ends a pass under way after the record it is sending, and waits for it.
    ~PendingRecordRetry();
    PendingRecordRetry(const PendingRecordRetry&) = delete;
    PendingRecordRetry& operator=(const PendingRecordRetry&) = delete;

    // Asks for a pass and returns at once; requests that come during a pass make one more. Any
    // thread.
    void Request();
    // Passes run so far (tests wait on it).
    int PassesRun() const;

  private:
    void Loop();

    InstallJournal& journal_;
    const CatalogueDb& catalogue_;
    DiagnosticsLog* log_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool requested_ = false;
    bool stopping_ = false;
    int passes_ = 0;
    std::thread thread_;  // started by the first request
};
