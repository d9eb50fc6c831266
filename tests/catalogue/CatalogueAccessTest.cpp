// Connections and statements on both back ends: read-only opens, bound text values, failures,
// time-outs, the driver presence check and the updater version check.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "CatalogueTestBase.h"
#include "catalogue/CatalogueChecks.h"
#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"

namespace {

std::vector<std::u16string> Column(const CatalogueDb& db, const SqlStatement& statement, const char* column) {
    std::vector<std::u16string> values;
    DbError error;
    auto connection = db.Open(OpenMode::ReadOnly, error);
    EXPECT_TRUE(connection) << ToUtf8(error.message);
    if (!connection) {
        return values;
    }
    std::int32_t rows = 0;
    EXPECT_TRUE(connection->Query(
        statement, [&](const OdbcRow& row) { values.push_back(row.Text(column)); }, rows, error))
        << ToUtf8(error.message);
    EXPECT_EQ(rows, static_cast<std::int32_t>(values.size()));
    return values;
}

// A TCP listener that completes connections but never says a word, like a hung server.
class SilentServer {
  public:
    SilentServer() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd_, 8) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentServer() { ::close(fd_); }
    int port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace

TEST_P(CatalogueTest, ReadOnlyConnectionRefusesWritesWritableOneAccepts) {
    UseScratch();
    DbError error;
    auto readOnly = db().Open(OpenMode::ReadOnly, error);
    ASSERT_TRUE(readOnly) << ToUtf8(error.message);
    EXPECT_FALSE(readOnly->Change({u"UPDATE kio_version SET kio_version_no='9.9.9'", {}}, error));
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(error.message.front() == u'[', false) << "tags are removed";
    readOnly.reset();
    EXPECT_EQ(Column(db(), {u"SELECT kio_version_no FROM kio_version", {}}, "kio_version_no"),
              std::vector<std::u16string>{u"4.0.0"});

    auto writable = db().Open(OpenMode::Writable, error);
    ASSERT_TRUE(writable);
    EXPECT_TRUE(writable->Change({u"UPDATE kio_version SET kio_version_no='9.9.9'", {}}, error))
        << ToUtf8(error.message);
    writable.reset();
    EXPECT_EQ(Column(db(), {u"SELECT kio_version_no FROM kio_version", {}}, "kio_version_no"),
              std::vector<std::u16string>{u"9.9.9"});
}

TEST_P(CatalogueTest, QuotesAndSqlInValuesFindExactlyWhatTheyName) {
    const SqlStatement byMake{u"SELECT vehicle_make FROM tolvanesw WHERE vehicle_make=? AND mfg_id=?",
                              {u"Land Rover's", u"QD7720R"}};
    EXPECT_EQ(Column(db(), byMake, "vehicle_make"), std::vector<std::u16string>{u"Land Rover's"});
    const SqlStatement injected{u"SELECT vehicle_make FROM tolvanesw WHERE vehicle_make=?",
                                {u"x' OR '1'='1"}};
    EXPECT_EQ(Column(db(), injected, "vehicle_make"), std::vector<std::u16string>{u"x' OR '1'='1"});
    const SqlStatement none{u"SELECT vehicle_make FROM tolvanesw WHERE vehicle_make=?", {u"' OR ''='"}};
    EXPECT_TRUE(Column(db(), none, "vehicle_make").empty());
    const SqlStatement unicode{u"SELECT vehicle_make FROM tolvanesw WHERE vehicle_make=?", {u"Citro\u00EBn"}};
    EXPECT_EQ(Column(db(), unicode, "vehicle_make"), std::vector<std::u16string>{u"Citro\u00EBn"});
}

TEST_P(CatalogueTest, NullColumnsReadAsEmptyTextAndUnknownColumnsToo) {
    const SqlStatement statement{
        u"SELECT sw_build, vehicle_model FROM tolvanesw WHERE sw_id=1564 AND mfg_id=?", {u"QD7720R"}};
    EXPECT_EQ(Column(db(), statement, "sw_build"), std::vector<std::u16string>{u""});
    EXPECT_EQ(Column(db(), statement, "VEHICLE_MODEL"), std::vector<std::u16string>{u"CX-5"});
    EXPECT_EQ(Column(db(), statement, "no_such_column"), std::vector<std::u16string>{u""});
}

TEST_P(CatalogueTest, StatementErrorCarriesTheDriversMessage) {
    DbError error;
    auto connection = db().Open(OpenMode::ReadOnly, error);
    ASSERT_TRUE(connection);
    std::int32_t rows = -1;
    EXPECT_FALSE(connection->Query(
        {u"SELECT * FROM no_such_table", {}}, [](const OdbcRow&) {}, rows, error));
    EXPECT_EQ(rows, 0);
    EXPECT_NE(ToUtf8(error.message).find("no_such_table"), std::string::npos) << ToUtf8(error.message);
}

TEST_P(CatalogueTest, DriverPresentWhenItConnects) {
    EXPECT_TRUE(OdbcDriverPresent(db()));
}

TEST_P(CatalogueTest, VersionCheckIsQuietForTheSameVersion) {
    EXPECT_EQ(CheckUpdaterVersion(db(), "https://www.example.com/", messages_), 0);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_P(CatalogueTest, VersionCheckWarnsOncePerDifferingRow) {
    UseScratch();
    scratch().Exec("UPDATE kio_version SET kio_version_no='4.0.1'");
    scratch().Exec("INSERT INTO kio_version (kio_version_no) VALUES ('3.9.0')");
    scratch().Exec("INSERT INTO kio_version (kio_version_no) VALUES ('4.0.0')");
    EXPECT_EQ(CheckUpdaterVersion(db(), "https://www.example.com/", messages_), 2);
    ASSERT_EQ(messages_.shown.size(), 2u);
    EXPECT_EQ(
        messages_.shown[0].text,
        u"New version of software available. Please visit https://www.example.com/ update your software");
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages_.shown[0].buttons, MessageButtons::Ok);
}

TEST_P(CatalogueTest, VersionCheckEmptyTableShowsNothingMissingTableShowsTheError) {
    UseScratch();
    scratch().Exec("DELETE FROM kio_version");
    EXPECT_EQ(CheckUpdaterVersion(db(), "https://www.example.com/", messages_), 0);
    EXPECT_TRUE(messages_.shown.empty());
    scratch().Exec("DROP TABLE kio_version");
    CheckUpdaterVersion(db(), "https://www.example.com/", messages_);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(ToUtf8(messages_.shown[0].text).find("kio_version"), std::string::npos);
}

TELVIX_BOTH_BACKENDS(CatalogueTest);

TEST(CatalogueFailures, UnregisteredDriverIsMissing) {
    EXPECT_FALSE(OdbcDriverPresent(CatalogueDb("Driver={Telvix No Such ODBC Driver};Server=127.0.0.1", 15)));
    EXPECT_FALSE(OdbcDriverPresent(CatalogueDb("DSN=telvix_no_such_dsn", 15)));
    DbError error;
    EXPECT_FALSE(CatalogueDb("Driver={Telvix No Such ODBC Driver}", 15).Open(OpenMode::ReadOnly, error));
    EXPECT_TRUE(ToUtf8(error.message).starts_with("Can't open lib")) << ToUtf8(error.message);
}

TEST(CatalogueFailures, ServerDownMeansDriverPresentButNoConnection) {
    const CatalogueDb db(UnreachableMariaDb(), 15);
    EXPECT_TRUE(OdbcDriverPresent(db));
    DbError error;
    EXPECT_FALSE(db.Open(OpenMode::ReadOnly, error));
    EXPECT_NE(ToUtf8(error.message).find("Can't connect"), std::string::npos) << ToUtf8(error.message);
    FakeMessagePort messages;
    EXPECT_EQ(CheckUpdaterVersion(db, "https://www.example.com/", messages), 0);
    EXPECT_TRUE(messages.shown.empty()) << "a failed connect is silent";
}

TEST(CatalogueFailures, WrongPasswordMeansDriverPresentButNoConnection) {
    std::string connection = MariaDbConnectionFromEnvironment();
    if (connection.empty()) {
        GTEST_SKIP() << "the test MariaDB server is not running";
    }
    connection += "x";  // the password is the last key
    const CatalogueDb db(connection, 15);
    EXPECT_TRUE(OdbcDriverPresent(db));
    DbError error;
    EXPECT_FALSE(db.Open(OpenMode::Writable, error));
    EXPECT_EQ(error.nativeError, 1045) << ToUtf8(error.message);
}

TEST(CatalogueFailures, SilentServerDoesNotHangTheConnect) {
    SilentServer server;
    ASSERT_NE(server.port(), 0);
    const CatalogueDb db(UnreachableMariaDb(server.port()), 1);
    const auto started = std::chrono::steady_clock::now();
    DbError error;
    EXPECT_FALSE(db.Open(OpenMode::ReadOnly, error));
    // Only a guard against hanging: the configured time-out is 1 s.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_TRUE(OdbcDriverPresent(db));
}

TEST(CatalogueFailures, LongStatementIsCutByTheStatementTimeout) {
    const std::string connection = MariaDbConnectionFromEnvironment();
    if (connection.empty()) {
        GTEST_SKIP() << "the test MariaDB server is not running";
    }
    DbError error;
    auto open = CatalogueDb(connection, 1).Open(OpenMode::ReadOnly, error);
    ASSERT_TRUE(open) << ToUtf8(error.message);
    std::int32_t rows = 0;
    EXPECT_FALSE(open->Query(
        {u"SELECT SLEEP(20) AS slept", {}}, [](const OdbcRow&) {}, rows, error));
    EXPECT_NE(ToUtf8(error.message).find("max_statement_time"), std::string::npos) << ToUtf8(error.message);
}

TEST(CatalogueFailures, ServerThatRefusesTheReadOnlySettingIsStillReadAndLoggedOnce) {
    const std::string connection = MariaDbConnectionFromEnvironment();
    if (connection.empty()) {
        GTEST_SKIP() << "the test MariaDB server is not running";
    }
    DiagnosticsLog log;
    CatalogueDb db(connection, 15, &log);
    // Answered with a syntax error (1064), as a server older than MySQL 5.6.5 answers the real one.
    db.SetReadOnlySessionStatement(u"SET SESSION TRANSACTION READ ONLY NOT KNOWN HERE");
    const CatalogueDb copy = db;
    for (const CatalogueDb* each : std::initializer_list<const CatalogueDb*>{&db, &db, &copy}) {
        EXPECT_EQ(Column(*each, {u"SELECT kio_version_no FROM kio_version", {}}, "kio_version_no"),
                  std::vector<std::u16string>{u"4.0.0"});
    }
    EXPECT_EQ(log.LineCount(), 1u);
}
