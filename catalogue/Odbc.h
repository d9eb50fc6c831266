#pragma once
// A thin RAII layer over the ODBC API (unixODBC on Linux, odbc32 on Windows): handles that free themselves,
// the diagnostics of a failed call, text parameters and rows read forward with every column as text. One
// connection and its statements are used by one thread at a time.
#include <OdbcApi.h>  // this system's ODBC headers (platform/<system>/include)

#include <memory>
#include <string>
#include <vector>

// The first diagnostic record of a failed call.
struct OdbcError {
    std::string sqlState;  // five characters, e.g. "HY000"; empty when the driver gave none
    std::int32_t nativeError = 0;
    std::u16string message;  // as the driver manager reports it, tags included
};

// Owns one ODBC handle of the given type and frees it on destruction.
class OdbcHandle {
  public:
    OdbcHandle() = default;
    OdbcHandle(SQLSMALLINT type, SQLHANDLE handle) : type_(type), handle_(handle) {}
    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;
    ~OdbcHandle();

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }
    explicit operator bool() const { return handle_ != SQL_NULL_HANDLE; }
    OdbcError Diagnostic() const;

  private:
    void Free();
    SQLSMALLINT type_ = 0;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// One row of a result set: every column as text, NULL as empty text.
class OdbcRow {
  public:
    OdbcRow(const std::vector<std::string>* names, std::vector<std::u16string> values)
        : names_(names), values_(std::move(values)) {}
    // Column by name (case-insensitive); empty text when the result has no such column.
    const std::u16string& Text(std::string_view column) const;

  private:
    const std::vector<std::string>* names_;
    std::vector<std::u16string> values_;
};

class OdbcStatement {
  public:
    explicit OdbcStatement(OdbcHandle handle) : handle_(std::move(handle)) {}
    bool SetQueryTimeout(int seconds);
    // Binds the texts as input parameters 1..n; they must outlive Execute.
    bool BindTexts(const std::vector<std::u16string>& texts);
    bool Execute(const std::u16string& sql);
    // Rows the last UPDATE, INSERT or DELETE changed (0 when it matched none); -1 when unknown.
    std::int64_t ChangedRows() const;
    // Reads the next row into row; false at the end or on failure (see Failed()).
    bool Fetch(std::unique_ptr<OdbcRow>& row);
    bool Failed() const { return failed_; }
    OdbcError Diagnostic() const { return handle_.Diagnostic(); }

  private:
    bool DescribeColumns();
    bool ReadColumn(SQLUSMALLINT column, std::u16string& value);

    OdbcHandle handle_;
    std::vector<SQLLEN> indicators_;
    std::vector<std::string> columnNames_;
    bool described_ = false;
    bool failed_ = false;
    bool noData_ = false;
};

// An environment and one connection on it.
class OdbcConnection {
  public:
    // Allocates the environment (ODBC 3) and the connection handle; false with error on failure.
    bool Allocate(OdbcError& error);
    bool SetLoginTimeout(int seconds);
    bool SetReadOnly();
    bool DriverConnect(const std::u16string& connectionString, OdbcError& error);
    std::u16string DbmsName() const;
    std::unique_ptr<OdbcStatement> NewStatement(OdbcError& error);
    void Disconnect();
    ~OdbcConnection();

  private:
    OdbcHandle environment_;
    OdbcHandle connection_;
    bool connected_ = false;
};

// The message without the bracketed origin tags in front of it
// ("[unixODBC][Driver Manager]Can't open lib ..." gives "Can't open lib ...").
std::u16string WithoutOdbcTags(std::u16string_view message);
