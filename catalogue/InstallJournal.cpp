#include "catalogue/InstallJournal.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "catalogue/CatalogueValues.h"
#include "platform/DiagnosticsLog.h"
#include "platform/SqliteOdbcDriver.h"
#include "platform/Text.h"
#include "platform/UserDataDirectory.h"

namespace {

constexpr char16_t kCreateTable[] =
    u"CREATE TABLE IF NOT EXISTS installs ("
    u"id INTEGER PRIMARY KEY AUTOINCREMENT, "
    u"started TEXT NOT NULL, "
    u"mfg_id TEXT NOT NULL DEFAULT '', "
    u"mcu_serial TEXT NOT NULL DEFAULT '' COLLATE NOCASE, "
    u"entry_id INTEGER NOT NULL DEFAULT 0, "
    u"sw_id INTEGER NOT NULL DEFAULT 0, "
    u"sw_build INTEGER NOT NULL DEFAULT 0, "
    u"vehicle_make TEXT NOT NULL DEFAULT '', "
    u"vehicle_model TEXT NOT NULL DEFAULT '', "
    u"route TEXT NOT NULL DEFAULT '', "
    u"record_state TEXT NOT NULL DEFAULT 'none', "
    u"record_sw_id INTEGER, record_sw_build INTEGER, record_vehicle_make TEXT, record_vehicle_model TEXT, "
    u"record_updated_by INTEGER, record_update_date TEXT, record_total_updates INTEGER, "
    u"record_mcu_serial TEXT COLLATE NOCASE, "
    u"outcome TEXT, succeeded INTEGER, ended TEXT)";

std::u16string Number(std::int64_t value) {
    return FromUtf8(std::to_string(value));
}

std::u16string LocalNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    const std::tm t = LocalTime(now);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return FromUtf8(text);
}

RecordState StateFromName(const std::u16string& name) {
    for (RecordState state : {RecordState::Pending, RecordState::Recorded, RecordState::Superseded}) {
        if (ToUtf8(name) == RecordStateName(state)) {
            return state;
        }
    }
    return RecordState::None;
}

std::u16string StateText(RecordState state) {
    return FromUtf8(RecordStateName(state));
}

InstallRecord RecordOf(const OdbcRow& row) {
    InstallRecord record;
    record.sw_id = DecimalAs<std::uint16_t>(row.Text("record_sw_id"));
    record.sw_build = DecimalAs<std::uint8_t>(row.Text("record_sw_build"));
    record.vehicle_make = row.Text("record_vehicle_make");
    record.vehicle_model = row.Text("record_vehicle_model");
    record.updated_by = DecimalAs<std::int32_t>(row.Text("record_updated_by"));
    record.update_date = row.Text("record_update_date");
    record.total_updates = DecimalValue(row.Text("record_total_updates"));
    record.mcu_serial = row.Text("record_mcu_serial");
    return record;
}

JournalEntry EntryOf(const OdbcRow& row) {
    JournalEntry entry;
    entry.id = DecimalValue(row.Text("id"));
    entry.started = row.Text("started");
    entry.install.mfg_id = row.Text("mfg_id");
    entry.install.mcu_serial = row.Text("mcu_serial");
    entry.install.entry_id = DecimalAs<std::int32_t>(row.Text("entry_id"));
    entry.install.sw_id = DecimalAs<std::uint16_t>(row.Text("sw_id"));
    entry.install.sw_build = DecimalAs<std::uint8_t>(row.Text("sw_build"));
    entry.install.vehicle_make = row.Text("vehicle_make");
    entry.install.vehicle_model = row.Text("vehicle_model");
    entry.install.route = row.Text("route");
    entry.recordState = StateFromName(row.Text("record_state"));
    if (entry.recordState != RecordState::None) {
        entry.record = RecordOf(row);
    }
    entry.ended = row.Text("ended");
    entry.finished = !entry.ended.empty();
    entry.succeeded = DecimalValue(row.Text("succeeded")) == 1;
    entry.outcome = row.Text("outcome");
    return entry;
}

std::string ConnectionString(const std::filesystem::path& file, bool mayCreate) {
    std::string text = "Driver=" + SqliteOdbcDriver() + ";Database=" + OdbcDriverFilePath(file) + ";Timeout=5000";
    return mayCreate ? text : text + ";NoCreat=1";
}

}  // namespace

const char* RecordStateName(RecordState state) {
    switch (state) {
        case RecordState::Pending:
            return "pending";
        case RecordState::Recorded:
            return "recorded";
        case RecordState::Superseded:
            return "superseded";
        case RecordState::None:
            break;
    }
    return "none";
}

InstallJournal::InstallJournal(std::filesystem::path file, DiagnosticsLog* log)
    : file_(std::move(file)), log_(log), db_(ConnectionString(file_, true), 0) {
    if (file_.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    if (error) {
        Note("cannot make the folder " + file_.parent_path().string() + ": " + error.message());
        return;
    }
    open_ = true;  // so that Connect tries
    auto connection = Connect("open");
    open_ = connection && Change(*connection, {kCreateTable, {}}, "create its table");
}

void InstallJournal::Note(const std::string& text) {
    if (log_ != nullptr) {
        log_->Write("journal", "install journal " + file_.string() + ": " + text);
    }
}

std::unique_ptr<CatalogueConnection> InstallJournal::Connect(const char* purpose) {
    if (!open_) {
        return nullptr;
    }
    DbError error;
    auto connection = db_.Open(OpenMode::Writable, error);
    if (!connection) {
        Note(std::string("cannot ") + purpose + ": " + ToUtf8(error.message) + "; installs go on without it");
    }
    return connection;
}

bool InstallJournal::Change(CatalogueConnection& connection, const SqlStatement& statement,
                            const char* purpose) {
    DbError error;
    if (connection.Change(statement, error)) {
        return true;
    }
    Note(std::string("cannot ") + purpose + ": " + ToUtf8(error.message));
    return false;
}

void InstallJournal::BeginInstall(const InstallStart& start) {
    std::lock_guard lock(mutex_);
    currentId_ = 0;
    auto connection = Connect("note the install's start");
    if (!connection) {
        return;
    }
    const SqlStatement insert{
        u"INSERT INTO installs (started, mfg_id, mcu_serial, entry_id, sw_id, sw_build, vehicle_make, "
        u"vehicle_model, route, record_state) VALUES (?, ?, ?, " +
            Number(start.entry_id) + u", " + Number(start.sw_id) + u", " + Number(start.sw_build) +
            u", ?, ?, ?, 'none')",
        {LocalNow(), start.mfg_id, start.mcu_serial, start.vehicle_make, start.vehicle_model, start.route}};
    if (!Change(*connection, insert, "note the install's start")) {
        return;
    }
    DbError error;
    std::int32_t rows = 0;
    connection->Query(
        {u"SELECT last_insert_rowid() AS id", {}},
        [&](const OdbcRow& row) { currentId_ = DecimalValue(row.Text("id")); }, rows, error);
}

std::int64_t InstallJournal::SaveRecord(const InstallRecord& record) {
    std::lock_guard lock(mutex_);
    if (currentId_ == 0) {
        return 0;
    }
    auto connection = Connect("store the install's record");
    const SqlStatement update{
        u"UPDATE installs SET record_state='pending', record_sw_id=" + Number(record.sw_id) +
            u", record_sw_build=" + Number(record.sw_build) +
            u", record_vehicle_make=?, record_vehicle_model=?, record_updated_by=" +
            Number(record.updated_by) + u", record_update_date=?, record_total_updates=" +
            Number(record.total_updates) + u", record_mcu_serial=? WHERE id=" + Number(currentId_),
        {record.vehicle_make, record.vehicle_model, record.update_date, record.mcu_serial}};
    if (!connection || !Change(*connection, update, "store the install's record")) {
        return 0;
    }
    return currentId_;
}

void InstallJournal::MarkRecorded(std::int64_t id) {
    std::lock_guard lock(mutex_);
    auto connection = Connect("note a record taken by the catalogue");
    if (!connection) {
        return;
    }
    const std::u16string key = Number(id);
    Change(*connection, {u"UPDATE installs SET record_state='recorded' WHERE id=" + key, {}},
           "note a record taken by the catalogue");
    Change(*connection,
           {u"UPDATE installs SET record_state='superseded' WHERE record_state='pending' AND id<" + key +
                u" AND record_mcu_serial=(SELECT record_mcu_serial FROM installs WHERE id=" + key + u")",
            {}},
           "drop the records a newer one replaced");
}

void InstallJournal::EndInstall(bool succeeded, const std::u16string& outcome) {
    std::lock_guard lock(mutex_);
    if (currentId_ == 0) {
        return;
    }
    const std::int64_t id = currentId_;
    currentId_ = 0;
    auto connection = Connect("note the install's outcome");
    if (connection) {
        Change(*connection,
               {u"UPDATE installs SET outcome=?, ended=?, succeeded=" + Number(succeeded ? 1 : 0) +
                    u" WHERE id=" + Number(id),
                {outcome, LocalNow()}},
               "note the install's outcome");
    }
}

std::vector<std::pair<std::int64_t, InstallRecord>> InstallJournal::PendingRecords() {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<std::int64_t, InstallRecord>> pending;
    auto connection = Connect("list the records to send again");
    if (!connection) {
        return pending;
    }
    Change(
        *connection,
        {u"UPDATE installs SET record_state='superseded' WHERE record_state='pending' AND EXISTS (SELECT 1 "
         u"FROM installs AS newer WHERE newer.record_mcu_serial=installs.record_mcu_serial AND "
         u"newer.id>installs.id AND newer.record_state='recorded')",
         {}},
        "drop the records a newer one replaced");
    DbError error;
    std::int32_t rows = 0;
    if (!connection->Query(
            {u"SELECT * FROM installs WHERE record_state='pending' AND id<>" + Number(currentId_) +
                 u" ORDER BY id",
             {}},
            [&](const OdbcRow& row) { pending.emplace_back(DecimalValue(row.Text("id")), RecordOf(row)); },
            rows, error)) {
        Note("cannot list the records to send again: " + ToUtf8(error.message));
    }
    return pending;
}

bool InstallJournal::IsPending(std::int64_t id) {
    std::lock_guard lock(mutex_);
    auto connection = Connect("look up a record");
    if (!connection) {
        return false;
    }
    std::u16string state;
    DbError error;
    std::int32_t rows = 0;
    connection->Query(
        {u"SELECT record_state FROM installs WHERE id=" + Number(id), {}},
        [&](const OdbcRow& row) { state = row.Text("record_state"); }, rows, error);
    return state == StateText(RecordState::Pending);
}

std::vector<JournalEntry> InstallJournal::Entries() {
    std::string why;
    std::lock_guard lock(mutex_);
    if (!open_) {
        return {};
    }
    auto entries = Read(file_, why);
    if (!entries) {
        Note("cannot be read: " + why);
    }
    return entries.value_or(std::vector<JournalEntry>{});
}

std::optional<std::vector<JournalEntry>> InstallJournal::Read(const std::filesystem::path& file,
                                                              std::string& why) {
    std::vector<JournalEntry> entries;
    std::error_code missing;
    if (!std::filesystem::exists(file, missing)) {
        return entries;
    }
    DbError error;
    auto connection = CatalogueDb(ConnectionString(file, false), 0).Open(OpenMode::ReadOnly, error);
    std::int32_t rows = 0;
    if (!connection || !connection->Query(
                           {u"SELECT * FROM installs ORDER BY id DESC", {}},
                           [&](const OdbcRow& row) { entries.push_back(EntryOf(row)); }, rows, error)) {
        why = ToUtf8(error.message);
        return std::nullopt;
    }
    return entries;
}

std::filesystem::path DefaultInstallJournalFile() {
    const std::filesystem::path folder = UserDataDirectory();
    return folder.empty() ? std::filesystem::path() : folder / "journal.sqlite";
}
