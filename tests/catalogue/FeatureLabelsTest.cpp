// The feature-label query against real catalogues: an SQLite catalogue made here, and the test
// MariaDB server's fixture catalogue when its variables are set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "catalogue/CatalogueDb.h"
#include "catalogue/FeatureLabels.h"
#include "platform/SqliteOdbcDriver.h"

namespace {

constexpr char kSqliteDriver[] = "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";

using Rows = std::vector<std::pair<int, std::u16string>>;

Rows Query(FeatureLabelSource& source, const std::u16string& serial, bool* ok = nullptr) {
    Rows rows;
    const bool done = source.QueryFeatureLabels(
        serial, [&rows](int index, const std::u16string& text) { rows.emplace_back(index, text); });
    if (ok != nullptr) {
        *ok = done;
    }
    return rows;
}

class SqliteCatalogue {
  public:
    SqliteCatalogue() {
        path_ = std::filesystem::temp_directory_path() /
                ("telvix-feature-labels-" + std::to_string(::getpid()) + ".sqlite");
        std::filesystem::remove(path_);
        db_ = std::make_unique<CatalogueDb>(
            "Driver=" + std::string(kSqliteDriver) + ";Database=" + OdbcDriverFilePath(path_), 15);
    }
    ~SqliteCatalogue() { std::filesystem::remove(path_); }

    void Exec(const std::u16string& sql) {
        DbError error;
        auto connection = db_->Open(OpenMode::Writable, error);
        ASSERT_TRUE(connection) << std::string(error.message.begin(), error.message.end());
        ASSERT_TRUE(connection->Change(SqlStatement{sql, {}}, error))
            << std::string(error.message.begin(), error.message.end());
    }
    const CatalogueDb& Db() const { return *db_; }

  private:
    std::filesystem::path path_;
    std::unique_ptr<CatalogueDb> db_;
};

}  // namespace

TEST(FeatureLabels, ReadsTheLabelsOfTheInterfacesSoftwareInIndexOrder) {
    if (!std::filesystem::exists(kSqliteDriver)) {
        GTEST_SKIP() << "SQLite ODBC driver not installed";
    }
    SqliteCatalogue catalogue;
    catalogue.Exec(u"CREATE TABLE tolvanedevice (mfg_id TEXT, mcu_serial TEXT, sw_id INTEGER)");
    catalogue.Exec(
        u"CREATE TABLE feature_label (mfg_id TEXT, sw_id INTEGER, label_idx INTEGER, label_desc TEXT)");
    catalogue.Exec(u"INSERT INTO tolvanedevice VALUES ('WD7731R', 'AAAA', 12), ('WD7731R', 'BBBB', 13)");
    catalogue.Exec(
        u"INSERT INTO feature_label VALUES ('WD7731R', 12, 3, 'Navigation'), ('WD7731R', 12, 1, 'Remote "
        u"Start'),"
        u" ('WD7731R', 13, 1, 'Other software'), ('QD7720R', 12, 2, 'Other model')");
    CatalogueFeatureLabels labels(catalogue.Db());

    bool ok = false;
    EXPECT_EQ(Query(labels, u"AAAA", &ok), (Rows{{1, u"Remote Start"}, {3, u"Navigation"}}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Query(labels, u"CCCC", &ok), Rows{});
    EXPECT_TRUE(ok);
    // The serial is a bound value: a quote in it cannot widen the query.
    EXPECT_EQ(Query(labels, u"x' OR '1'='1", &ok), Rows{});
    EXPECT_TRUE(ok);
}

TEST(FeatureLabels, UnreachableCatalogueReportsFailure) {
    CatalogueDb db("Driver={No Such ODBC Driver};Server=127.0.0.1", 1);
    CatalogueFeatureLabels labels(db);
    bool ok = true;
    EXPECT_EQ(Query(labels, u"AAAA", &ok), Rows{});
    EXPECT_FALSE(ok);
}

TEST(FeatureLabels, MatchesTheFixtureCatalogueOnMariaDb) {
    const char* connection = std::getenv("TELVIX_TEST_MARIADB_CONNECTION");
    if (connection == nullptr || *connection == '\0') {
        GTEST_SKIP() << "TELVIX_TEST_MARIADB_CONNECTION not set";
    }
    CatalogueDb db(connection, 15);
    DbError error;
    auto direct = db.Open(OpenMode::ReadOnly, error);
    ASSERT_TRUE(direct) << std::string(error.message.begin(), error.message.end());
    // The expected rows straight from the tables, for every serial that has labels.
    std::map<std::u16string, Rows> expected;
    std::int32_t count = 0;
    ASSERT_TRUE(direct->Query(
        SqlStatement{
            u"SELECT d.mcu_serial, l.label_idx, l.label_desc FROM tolvanedevice d JOIN feature_label l "
            u"ON l.mfg_id = d.mfg_id AND l.sw_id = d.sw_id ORDER BY d.mcu_serial, l.label_idx",
            {}},
        [&expected](const OdbcRow& row) {
            expected[row.Text("mcu_serial")].emplace_back(
                std::stoi(std::string(row.Text("label_idx").begin(), row.Text("label_idx").end())),
                row.Text("label_desc"));
        },
        count, error));
    ASSERT_FALSE(expected.empty()) << "the fixture catalogue has no feature labels";
    CatalogueFeatureLabels labels(db);
    for (const auto& [serial, rows] : expected) {
        EXPECT_EQ(Query(labels, serial), rows);
    }
}
