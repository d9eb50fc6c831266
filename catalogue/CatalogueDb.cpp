#include "catalogue/CatalogueDb.h"

#include <algorithm>
#include <cctype>

#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool HasKey(const std::string& lowerConnection, const std::string& key) {
    std::size_t at = 0;
    while ((at = lowerConnection.find(key, at)) != std::string::npos) {
        if (at == 0 || lowerConnection[at - 1] == ';' || lowerConnection[at - 1] == ' ') {
            std::size_t after = lowerConnection.find_first_not_of(' ', at + key.size());
            if (after != std::string::npos && lowerConnection[after] == '=') {
                return true;
            }
        }
        at += key.size();
    }
    return false;
}

bool NamesSqlite(const std::string& connectionString) {
    return Lower(connectionString).find("sqlite") != std::string::npos;
}

}  // namespace

DbError ToDbError(const OdbcError& error) {
    return DbError{error.sqlState, error.nativeError, WithoutOdbcTags(error.message)};
}

std::string WithTimeoutOptions(const std::string& connectionString, int timeoutSeconds) {
    if (NamesSqlite(connectionString) || timeoutSeconds <= 0) {
        return connectionString;
    }
    std::string result = connectionString;
    const std::string lower = Lower(connectionString);
    // The connect limit is the time-out itself. The server's own statement limit (set per
    // session) answers a long statement with a clear error; the socket read and write limits,
    // a little longer, catch a server that stopped answering altogether.
    const std::pair<const char*, int> options[] = {{"conn_timeout", timeoutSeconds},
                                                   {"read_timeout", timeoutSeconds + 2},
                                                   {"write_timeout", timeoutSeconds + 2}};
    for (const auto& [key, seconds] : options) {
        if (!HasKey(lower, key)) {
            if (!result.empty() && result.back() != ';') {
                result += ';';
            }
            std::string name = key;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
            result += name + "=" + std::to_string(seconds);
        }
    }
    return result;
}

CatalogueDb::CatalogueDb(std::string connectionString, int timeoutSeconds, DiagnosticsLog* log)
    : connectionString_(std::move(connectionString)),
      timeoutSeconds_(timeoutSeconds),
      log_(log),
      readOnlyRefusalLogged_(std::make_shared<std::atomic<bool>>(false)) {}

void CatalogueDb::NoteReadOnlyRefused(const DbError& error) const {
    if (log_ == nullptr || readOnlyRefusalLogged_->exchange(true)) {
        return;
    }
    log_->Write("catalogue", "the server refused the read-only session setting (" + error.sqlState + "/" +
                                 std::to_string(error.nativeError) + ": " + ToUtf8(error.message) +
                                 "); read-only connections go on without it");
}

std::unique_ptr<CatalogueConnection> CatalogueDb::Open(OpenMode mode, DbError& error) const {
    auto odbc = std::make_unique<OdbcConnection>();
    OdbcError odbcError;
    if (!odbc->Allocate(odbcError)) {
        error = ToDbError(odbcError);
        return nullptr;
    }
    odbc->SetLoginTimeout(timeoutSeconds_);
    if (mode == OpenMode::ReadOnly) {
        odbc->SetReadOnly();
    }
    if (!odbc->DriverConnect(FromUtf8(WithTimeoutOptions(connectionString_, timeoutSeconds_)), odbcError)) {
        error = ToDbError(odbcError);
        return nullptr;
    }
    const std::string dbms = ToUtf8(odbc->DbmsName());
    const bool sqlite = dbms.find("SQLite") != std::string::npos;
    auto connection = std::make_unique<CatalogueConnection>(std::move(odbc), timeoutSeconds_);
    const bool limitTime = !sqlite && timeoutSeconds_ > 0 && dbms.find("MariaDB") != std::string::npos;
    const std::u16string limit = u"max_statement_time=" + FromUtf8(std::to_string(timeoutSeconds_));
    // Every statement of the opening is a round trip to the server, paid by each search: on
    // MariaDB both session settings of a read-only connection go in one. When that one is
    // refused, they are tried apart, so that the refusal of the read-only setting is told.
    DbError refused;
    if (limitTime && mode == OpenMode::ReadOnly && readOnlyStatement_ == kReadOnlySessionStatement &&
        connection->Change(SqlStatement{u"SET SESSION " + limit + u", SESSION tx_read_only=1", {}},
                           refused)) {
        return connection;
    }
    if (limitTime && !connection->Change(SqlStatement{u"SET SESSION " + limit, {}}, error)) {
        return nullptr;
    }
    // The drivers accept the read-only attribute and ignore it; the session setting is what
    // actually refuses writes. The read itself does not need it.
    if (mode == OpenMode::ReadOnly &&
        !connection->Change(SqlStatement{sqlite ? u"PRAGMA query_only=1" : readOnlyStatement_, {}},
                            refused)) {
        NoteReadOnlyRefused(refused);
    }
    return connection;
}

CatalogueConnection::~CatalogueConnection() = default;

std::unique_ptr<OdbcStatement> CatalogueConnection::Run(const SqlStatement& statement, DbError& error) {
    OdbcError odbcError;
    std::unique_ptr<OdbcStatement> stmt = connection_->NewStatement(odbcError);
    if (!stmt) {
        error = ToDbError(odbcError);
        return nullptr;
    }
    if (timeoutSeconds_ > 0) {
        stmt->SetQueryTimeout(timeoutSeconds_);
    }
    if (!stmt->BindTexts(statement.values) || !stmt->Execute(statement.text)) {
        error = ToDbError(stmt->Diagnostic());
        return nullptr;
    }
    return stmt;
}

bool CatalogueConnection::Query(const SqlStatement& statement,
                                const std::function<void(const OdbcRow&)>& onRow, std::int32_t& rowCount,
                                DbError& error) {
    rowCount = 0;
    std::unique_ptr<OdbcStatement> stmt = Run(statement, error);
    if (!stmt) {
        return false;
    }
    std::unique_ptr<OdbcRow> row;
    while (stmt->Fetch(row)) {
        ++rowCount;
        onRow(*row);
    }
    if (stmt->Failed()) {
        error = ToDbError(stmt->Diagnostic());
        return false;
    }
    return true;
}

bool CatalogueConnection::Change(const SqlStatement& statement, DbError& error, std::int64_t* changedRows) {
    std::unique_ptr<OdbcStatement> stmt = Run(statement, error);
    if (stmt && changedRows != nullptr) {
        *changedRows = stmt->ChangedRows();
    }
    return stmt != nullptr;
}
