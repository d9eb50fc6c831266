#pragma once
// The install journal: every install this program runs, written first to a small SQLite file in
// the user's data folder, opened through the same ODBC layer as the catalogue. It keeps what the
// install started with, the exact values of its catalogue record (stored before they are sent),
// whether the catalogue took them, and the text the install ended on. A record the catalogue did
// not take (network or catalogue down after the interface was flashed) stays pending and is sent
// again later (PendingRecordRetry); telvix-cli history lists the journal.
//
// The journal never stops an install: when its file cannot be opened or written, the diagnostics
// log says so and the install goes on without it.
//
// Threading: any thread. Each call opens its own connection under the journal's lock; calls are
// short writes to a local file.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/CatalogueDb.h"
#include "catalogue/InstallRecord.h"

class DiagnosticsLog;

// Where the catalogue record of an install stands.
enum class RecordState {
    None,        // the install did not reach its record step
    Pending,     // values stored; the catalogue has not taken them (yet)
    Recorded,    // the catalogue took them
    Superseded,  // not taken, and a newer record of the same interface was: never sent again
};

// "none", "pending", "recorded", "superseded".
const char* RecordStateName(RecordState state);

// What is known when an install starts.
struct InstallStart {
    std::u16string mfg_id;
    std::u16string mcu_serial;  // empty while the interface has not told it (bootloader, update volume)
    std::int32_t entry_id = 0;  // the software's catalogue id (tolvanesw.id)
    std::uint16_t sw_id = 0;
    std::uint8_t sw_build = 0;
    std::u16string vehicle_make;
    std::u16string vehicle_model;
    std::u16string route;  // how the image goes in, e.g. "HID bootloader"
};

struct JournalEntry {
    std::int64_t id = 0;
    std::u16string started;  // local time, "YYYY-MM-DD HH:MM:SS"
    InstallStart install;
    RecordState recordState = RecordState::None;
    std::optional<InstallRecord> record;
    bool finished = false;
    bool succeeded = false;
    std::u16string outcome;  // the text the install ended on
    std::u16string ended;
};

class InstallJournal {
  public:
    // Opens file, creating it, its folder and its table when missing. An empty path keeps no
    // journal. log, when given, hears why the journal cannot be used; it must outlive the journal.
    InstallJournal(std::filesystem::path file, DiagnosticsLog* log);
    InstallJournal(const InstallJournal&) = delete;
    InstallJournal& operator=(const InstallJournal&) = delete;

    bool IsOpen() const { return open_; }
    const std::filesystem::path& File() const { return file_; }

    // An install starts; it is the current one until EndInstall or the next BeginInstall.
    void BeginInstall(const InstallStart& start);
    // Stores the record's values for the current install before they are sent. Returns the id to
    // hand to MarkRecorded; 0 when nothing was stored (no journal, or no install under way).
    std::int64_t SaveRecord(const InstallRecord& record);
    // The catalogue took record id: it is marked recorded, and older records of the same interface
    // that are still pending become superseded.
    void MarkRecorded(std::int64_t id);
    // The current install ended with the text its progress dialog finished on. Calls after the
    // first, up to the next BeginInstall, change nothing (a parked failure repeats its text).
    void EndInstall(bool succeeded, const std::u16string& outcome);

    // The records to send again, oldest first: the pending ones of installs other than the one
    // under way. Pending records that a newer recorded record of the same interface has overtaken
    // are marked superseded here and left out.
    std::vector<std::pair<std::int64_t, InstallRecord>> PendingRecords();
    bool IsPending(std::int64_t id);
    // Held while a record is sent and marked, so that a retry and an install never send records
    // at the same time (an old record could otherwise land after a newer one).
    std::unique_lock<std::mutex> LockSending() { return std::unique_lock(sending_); }

    // Every install, newest first.
    std::vector<JournalEntry> Entries();

    // Reads a journal file without creating or changing it: an empty list when the file does not
    // exist yet; nothing, with why, when it cannot be read.
    static std::optional<std::vector<JournalEntry>> Read(const std::filesystem::path& file, std::string& why);

  private:
    std::unique_ptr<CatalogueConnection> Connect(const char* purpose);
    bool Change(CatalogueConnection& connection, const SqlStatement& statement, const char* purpose);
    void Note(const std::string& text);

    std::filesystem::path file_;
    DiagnosticsLog* log_;
    CatalogueDb db_;
    bool open_ = false;
    std::mutex mutex_;
    std::mutex sending_;
    std::int64_t currentId_ = 0;  // the install under way, 0 when none
};

// The journal's place: UserDataDirectory()/journal.sqlite; empty when there is no data folder.
std::filesystem::path DefaultInstallJournalFile();
