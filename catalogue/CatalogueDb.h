#pragma once
// The rules by which the updater talks to the catalogue: one connection string, one short-lived
// connection per operation, statements from fixed templates with their text values bound as
// parameters (so quotes in vehicle names cannot change a statement), every column read as text.
//
// Read-only connections are also put in the session's read-only mode, since the drivers ignore
// the ODBC attribute. That setting is a safeguard, not a need: a server that refuses it (MySQL
// before 5.6.5 knows no such statement) is used without it, and the diagnostics log says so once.
// The login and statement time-outs are also given the way the MariaDB driver honours them
// (connection-string options and the session's statement time limit).
// A CatalogueDb is immutable once set up and may be shared by threads; each connection belongs to
// one thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/EndpointSettings.h"
#include "catalogue/Odbc.h"

class DiagnosticsLog;

struct DbError {
    std::string sqlState;
    std::int32_t nativeError = 0;
    std::u16string message;  // the driver's message without its bracketed tags
};

// A statement: its text, with "?" where a text value goes, and those values in order.
struct SqlStatement {
    std::u16string text;
    std::vector<std::u16string> values;
};

enum class OpenMode { ReadOnly, Writable };

class CatalogueConnection {
  public:
    CatalogueConnection(std::unique_ptr<OdbcConnection> connection, int timeoutSeconds)
        : connection_(std::move(connection)), timeoutSeconds_(timeoutSeconds) {}
    ~CatalogueConnection();
    // Runs one SELECT and hands each row to onRow, first to last; rowCount is the rows read.
    bool Query(const SqlStatement& statement, const std::function<void(const OdbcRow&)>& onRow,
               std::int32_t& rowCount, DbError& error);
    // Runs one UPDATE or INSERT (or a session setting). changedRows, when given, receives the rows
    // the driver reports changed (MariaDB counts only rows whose values changed; -1 when unknown).
    bool Change(const SqlStatement& statement, DbError& error, std::int64_t* changedRows = nullptr);

  private:
    std::unique_ptr<OdbcStatement> Run(const SqlStatement& statement, DbError& error);
    std::unique_ptr<OdbcConnection> connection_;
    int timeoutSeconds_;
};

class CatalogueDb {
  public:
    // log, when given, hears of a refused read-only setting; it must outlive the object.
    CatalogueDb(std::string connectionString, int timeoutSeconds, DiagnosticsLog* log = nullptr);
    explicit CatalogueDb(const EndpointSettings& settings, DiagnosticsLog* log = nullptr)
        : CatalogueDb(settings.catalogueConnection, settings.catalogueTimeoutSeconds, log) {}

    // Connects without prompting; nullptr with the driver's message on failure.
    std::unique_ptr<CatalogueConnection> Open(OpenMode mode, DbError& error) const;

    const std::string& connectionString() const { return connectionString_; }
    int timeoutSeconds() const { return timeoutSeconds_; }

    // The statement that makes a MariaDB/MySQL session read-only. Tests put one in its place that
    // the server refuses, as an old server refuses the real one. Set before the object is shared.
    void SetReadOnlySessionStatement(std::u16string statement) { readOnlyStatement_ = std::move(statement); }

  private:
    void NoteReadOnlyRefused(const DbError& error) const;

    std::string connectionString_;
    int timeoutSeconds_;
    DiagnosticsLog* log_;
    static constexpr std::u16string_view kReadOnlySessionStatement = u"SET SESSION TRANSACTION READ ONLY";
    std::u16string readOnlyStatement_{kReadOnlySessionStatement};
    // Copies share it, so the refusal is logged once per program run, not per connection.
    std::shared_ptr<std::atomic<bool>> readOnlyRefusalLogged_;
};

DbError ToDbError(const OdbcError& error);
// The connection string with the driver-specific time-out options added where the driver needs
// them (MariaDB/MySQL drivers), unless the string already gives them.
std::string WithTimeoutOptions(const std::string& connectionString, int timeoutSeconds);
