#pragma once
// The rules by which the updater talks to the catalogue: one connection string, one short-lived
// connection per operation, statements from fixed templates with their text values bound as
// parameters (so quotes in vehicle names cannot change a statement), every column read as text.
//
// Read-only connections are also put in the session's read-only mode, since the drivers ignore
// the ODBC attribute; the login and statement time-outs are also given the way the MariaDB
// driver honours them (connection-string options and the session's statement time limit).
// A CatalogueDb is immutable and may be shared by threads; each connection belongs to one thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/EndpointSettings.h"
#include "catalogue/Odbc.h"

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
    // Runs one UPDATE or INSERT (or a session setting).
    bool Change(const SqlStatement& statement, DbError& error);

  private:
    std::unique_ptr<OdbcStatement> Run(const SqlStatement& statement, DbError& error);
    std::unique_ptr<OdbcConnection> connection_;
    int timeoutSeconds_;
};

class CatalogueDb {
  public:
    CatalogueDb(std::string connectionString, int timeoutSeconds);
    explicit CatalogueDb(const EndpointSettings& settings)
        : CatalogueDb(settings.catalogueConnection, settings.catalogueTimeoutSeconds) {}

    // Connects without prompting; nullptr with the driver's message on failure.
    std::unique_ptr<CatalogueConnection> Open(OpenMode mode, DbError& error) const;

    const std::string& connectionString() const { return connectionString_; }
    int timeoutSeconds() const { return timeoutSeconds_; }

  private:
    std::string connectionString_;
    int timeoutSeconds_;
};

DbError ToDbError(const OdbcError& error);
// The connection string with the driver-specific time-out options added where the driver needs
// them (MariaDB/MySQL drivers), unless the string already gives them.
std::string WithTimeoutOptions(const std::string& connectionString, int timeoutSeconds);
