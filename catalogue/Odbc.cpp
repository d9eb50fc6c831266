#include "catalogue/Odbc.h"

#include <algorithm>
#include <cctype>
#include <mutex>

// Every call that takes or gives text is a wide (W) one, with UTF-16 text, on every system: unixODBC
// and Windows' driver manager both use 16-bit SQLWCHAR, and the Windows driver manager of wine
// forwards only the wide calls.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use 16-bit wide characters");

namespace {

bool Succeeded(SQLRETURN rc) {
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

SQLWCHAR* Wide(std::u16string& text) {
    return reinterpret_cast<SQLWCHAR*>(text.data());
}

std::u16string FromWide(const SQLWCHAR* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// unixODBC loads drivers through libltdl, whose last-error text is shared by the whole process: two
// connects failing to load a driver at once (the version check and the record retry at start-up)
// read and free that text under each other. Connects are made one at a time; they are rare and short.
std::mutex& DriverLoadLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept : type_(other.type_), handle_(other.handle_) {
    other.handle_ = SQL_NULL_HANDLE;
}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        Free();
        type_ = other.type_;
        handle_ = other.handle_;
        other.handle_ = SQL_NULL_HANDLE;
    }
    return *this;
}

OdbcHandle::~OdbcHandle() {
    Free();
}

void OdbcHandle::Free() {
    if (handle_ != SQL_NULL_HANDLE) {
        SQLFreeHandle(type_, handle_);
        handle_ = SQL_NULL_HANDLE;
    }
}

OdbcError OdbcHandle::Diagnostic() const {
    OdbcError error;
    if (handle_ == SQL_NULL_HANDLE) {
        error.message = u"No ODBC handle";
        return error;
    }
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLWCHAR> text(1024);
    SQLRETURN rc = SQLGetDiagRecW(type_, handle_, 1, state, &native, text.data(),
                                  static_cast<SQLSMALLINT>(text.size()), &length);
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.resize(static_cast<std::size_t>(length) + 1);
        rc = SQLGetDiagRecW(type_, handle_, 1, state, &native, text.data(),
                            static_cast<SQLSMALLINT>(text.size()), &length);
    }
    if (!Succeeded(rc)) {
        error.message = u"Unknown ODBC error";
        return error;
    }
    for (SQLWCHAR c : state) {
        if (c != 0) {
            error.sqlState.push_back(static_cast<char>(c));
        }
    }
    error.nativeError = native;
    error.message = FromWide(text.data(), std::min<std::size_t>(length, text.size() - 1));
    return error;
}

const std::u16string& OdbcRow::Text(std::string_view column) const {
    static const std::u16string kEmpty;
    for (std::size_t i = 0; i < names_->size() && i < values_.size(); ++i) {
        if (SameNameIgnoringCase((*names_)[i], column)) {
            return values_[i];
        }
    }
    return kEmpty;
}

bool OdbcStatement::SetQueryTimeout(int seconds) {
    return Succeeded(SQLSetStmtAttrW(handle_.get(), SQL_ATTR_QUERY_TIMEOUT,
                                     reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(seconds)), 0));
}

bool OdbcStatement::BindTexts(const std::vector<std::u16string>& texts) {
    indicators_.assign(texts.size(), 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::u16string& text = texts[i];
        indicators_[i] = static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR));
        SQLULEN columnSize = std::max<SQLULEN>(text.size(), 1);
        SQLRETURN rc = SQLBindParameter(handle_.get(), static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                        SQL_C_WCHAR, SQL_WVARCHAR, columnSize, 0,
                                        const_cast<char16_t*>(text.data()), indicators_[i], &indicators_[i]);
        if (!Succeeded(rc)) {
            return false;
        }
    }
    return true;
}

bool OdbcStatement::Execute(const std::u16string& sql) {
    std::u16string text = sql;
    SQLRETURN rc = SQLExecDirectW(handle_.get(), Wide(text), static_cast<SQLINTEGER>(text.size()));
    // An UPDATE that matches no row answers SQL_NO_DATA: that is not a failure (see ChangedRows).
    noData_ = rc == SQL_NO_DATA;
    failed_ = !(Succeeded(rc) || noData_);
    return !failed_;
}

std::int64_t OdbcStatement::ChangedRows() const {
    if (noData_) {
        return 0;
    }
    SQLLEN count = -1;
    if (!Succeeded(SQLRowCount(handle_.get(), &count))) {
        return -1;
    }
    return count;
}

bool OdbcStatement::DescribeColumns() {
    SQLSMALLINT count = 0;
    if (!Succeeded(SQLNumResultCols(handle_.get(), &count))) {
        return false;
    }
    columnNames_.clear();
    for (SQLSMALLINT column = 1; column <= count; ++column) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        if (!Succeeded(SQLColAttributeW(handle_.get(), static_cast<SQLUSMALLINT>(column), SQL_DESC_LABEL,
                                        name, sizeof name, &nameLength, nullptr))) {
            return false;
        }
        // Column names are the schema's own ASCII names.
        std::string narrow;
        for (std::size_t i = 0; i < sizeof name / sizeof name[0] - 1 && name[i] != 0; ++i) {
            narrow.push_back(static_cast<char>(name[i]));
        }
        columnNames_.push_back(std::move(narrow));
    }
    described_ = true;
    return true;
}

bool OdbcStatement::ReadColumn(SQLUSMALLINT column, std::u16string& value) {
    value.clear();
    SQLWCHAR buffer[512];
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(handle_.get(), column, SQL_C_WCHAR, buffer, sizeof buffer, &indicator);
        if (rc == SQL_NO_DATA) {
            return true;  // the whole value has been read
        }
        if (!Succeeded(rc)) {
            return false;
        }
        if (indicator == SQL_NULL_DATA) {
            return true;
        }
        const std::size_t capacity = sizeof buffer / sizeof(SQLWCHAR) - 1;
        std::size_t units = capacity;
        if (indicator != SQL_NO_TOTAL && static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR) <= capacity) {
            units = static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
        }
        value.append(reinterpret_cast<const char16_t*>(buffer), units);
        if (rc == SQL_SUCCESS) {
            return true;
        }
    }
}

bool OdbcStatement::Fetch(std::unique_ptr<OdbcRow>& row) {
    if (failed_) {
        return false;
    }
    if (!described_ && !DescribeColumns()) {
        failed_ = true;
        return false;
    }
    SQLRETURN rc = SQLFetch(handle_.get());
    if (rc == SQL_NO_DATA) {
        return false;
    }
    if (!Succeeded(rc)) {
        failed_ = true;
        return false;
    }
    std::vector<std::u16string> values(columnNames_.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!ReadColumn(static_cast<SQLUSMALLINT>(i + 1), values[i])) {
            failed_ = true;
            return false;
        }
    }
    row = std::make_unique<OdbcRow>(&columnNames_, std::move(values));
    return true;
}

bool OdbcConnection::Allocate(OdbcError& error) {
    SQLHANDLE env = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        error = OdbcError{"HY001", 0, u"Cannot allocate the ODBC environment"};
        return false;
    }
    environment_ = OdbcHandle(SQL_HANDLE_ENV, env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHANDLE dbc = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        error = environment_.Diagnostic();
        return false;
    }
    connection_ = OdbcHandle(SQL_HANDLE_DBC, dbc);
    return true;
}

bool OdbcConnection::SetLoginTimeout(int seconds) {
    return Succeeded(SQLSetConnectAttrW(connection_.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(seconds)), 0));
}

bool OdbcConnection::SetReadOnly() {
    return Succeeded(SQLSetConnectAttrW(connection_.get(), SQL_ATTR_ACCESS_MODE,
                                        reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0));
}

bool OdbcConnection::DriverConnect(const std::u16string& connectionString, OdbcError& error) {
    std::u16string text = connectionString;
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    std::unique_lock loading(DriverLoadLock());
    SQLRETURN rc =
        SQLDriverConnectW(connection_.get(), nullptr, Wide(text), static_cast<SQLSMALLINT>(text.size()), out,
                          sizeof out / sizeof out[0], &outLength, SQL_DRIVER_NOPROMPT);
    loading.unlock();
    if (!Succeeded(rc)) {
        error = connection_.Diagnostic();
        return false;
    }
    connected_ = true;
    return true;
}

std::u16string OdbcConnection::DbmsName() const {
    SQLWCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!Succeeded(SQLGetInfoW(connection_.get(), SQL_DBMS_NAME, name, sizeof name, &length))) {
        return {};
    }
    return FromWide(name, std::min<std::size_t>(static_cast<std::size_t>(length) / sizeof(SQLWCHAR), 127));
}

std::unique_ptr<OdbcStatement> OdbcConnection::NewStatement(OdbcError& error) {
    SQLHANDLE stmt = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, connection_.get(), &stmt))) {
        error = connection_.Diagnostic();
        return nullptr;
    }
    return std::make_unique<OdbcStatement>(OdbcHandle(SQL_HANDLE_STMT, stmt));
}

void OdbcConnection::Disconnect() {
    if (connected_) {
        SQLDisconnect(connection_.get());
        connected_ = false;
    }
}

OdbcConnection::~OdbcConnection() {
    Disconnect();
    connection_ = OdbcHandle();
    environment_ = OdbcHandle();
}

std::u16string WithoutOdbcTags(std::u16string_view message) {
    while (!message.empty() && message.front() == u'[') {
        std::size_t close = message.find(u']');
        if (close == std::u16string_view::npos) {
            break;
        }
        message.remove_prefix(close + 1);
    }
    return std::u16string(message);
}
