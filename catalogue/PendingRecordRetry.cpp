#include "catalogue/PendingRecordRetry.h"

#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"

namespace {

std::string Describe(std::int64_t id, const InstallRecord& record) {
    return "install record " + std::to_string(id) + " (interface " + ToUtf8(record.mcu_serial) +
           ", software " + std::to_string(record.sw_id) + "/" + std::to_string(record.sw_build) + ", " +
           ToUtf8(record.update_date) + ")";
}

void Write(DiagnosticsLog* log, const std::string& text) {
    if (log != nullptr) {
        log->Write("catalogue", text);
    }
}

}  // namespace

int RetryPendingRecords(InstallJournal& journal, const CatalogueDb& catalogue, DiagnosticsLog* log,
                        const std::function<bool()>& stop) {
    const auto pending = journal.PendingRecords();
    if (pending.empty()) {
        return 0;
    }
    DbError error;
    auto connection = catalogue.Open(OpenMode::Writable, error);
    if (!connection) {
        Write(log, std::to_string(pending.size()) +
                       " install record(s) wait for the catalogue: " + ToUtf8(error.message));
        return 0;
    }
    int taken = 0;
    for (const auto& [id, record] : pending) {
        if (stop && stop()) {
            break;
        }
        const auto sending = journal.LockSending();
        // The install under way or an earlier pass may have sent it, or a newer one replaced it.
        if (!journal.IsPending(id)) {
            continue;
        }
        switch (SendInstallRecord(*connection, record, error)) {
            case RecordResult::Recorded:
                journal.MarkRecorded(id);
                ++taken;
                Write(log, Describe(id, record) + " sent again: the catalogue took it");
                break;
            case RecordResult::NoRow:
                Write(log,
                      Describe(id, record) + " sent again: the catalogue has no row for the interface; kept");
                break;
            case RecordResult::Failed:
                Write(log,
                      Describe(id, record) + " sent again and refused: " + ToUtf8(error.message) + "; kept");
                break;
        }
    }
    return taken;
}

PendingRecordRetry::~PendingRecordRetry() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PendingRecordRetry::Request() {
    if (!journal_.IsOpen()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        if (stopping_) {
            return;
        }
        requested_ = true;
        if (!thread_.joinable()) {
            thread_ = std::thread([this] { Loop(); });
        }
    }
    wake_.notify_all();
}

int PendingRecordRetry::PassesRun() const {
    std::lock_guard lock(mutex_);
    return passes_;
}

void PendingRecordRetry::Loop() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return requested_ || stopping_; });
        if (stopping_) {
            return;
        }
        requested_ = false;
        lock.unlock();
        RetryPendingRecords(journal_, catalogue_, log_, [this] {
            std::lock_guard stopLock(mutex_);
            return stopping_;
        });
        lock.lock();
        ++passes_;
    }
}
