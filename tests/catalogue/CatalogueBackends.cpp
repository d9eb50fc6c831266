#include "CatalogueBackends.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "FixtureWriters.h"
#include "platform/SystemAdapters.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string UniqueSuffix() {
    static std::atomic<int> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
           std::to_string(ticks % 1000000);
}

bool RunAll(const CatalogueDb& db, const std::string& script, std::string& error) {
    DbError dbError;
    auto connection = db.Open(OpenMode::Writable, dbError);
    if (!connection) {
        error = ToUtf8(dbError.message);
        return false;
    }
    std::size_t start = 0;
    while (start < script.size()) {
        std::size_t end = script.find(";\n", start);
        if (end == std::string::npos) {
            end = script.size();
        }
        std::string statement = script.substr(start, end - start);
        start = end + 2;
        std::string code;
        for (std::size_t at = 0; at < statement.size();) {
            std::size_t eol = statement.find('\n', at);
            std::string line = statement.substr(at, eol == std::string::npos ? std::string::npos : eol - at);
            at = eol == std::string::npos ? statement.size() : eol + 1;
            if (line.rfind("--", 0) != 0) {
                code += line + "\n";
            }
        }
        if (code.find_first_not_of(" \n\t") == std::string::npos) {
            continue;
        }
        if (!connection->Change(SqlStatement{FromUtf8(code), {}}, dbError)) {
            error = ToUtf8(dbError.message) + " in: " + code.substr(0, 200);
            return false;
        }
    }
    return true;
}

std::string ReplaceDatabase(const std::string& connection, const std::string& from, const std::string& to) {
    std::string result = connection;
    const std::string key = "Database=" + from;
    const std::size_t at = result.find(key);
    if (at != std::string::npos) {
        result.replace(at, key.size(), "Database=" + to);
    }
    return result;
}

}  // namespace

std::string BackendName(Backend backend) {
    return backend == Backend::MariaDb ? "MariaDb" : "Sqlite";
}

std::string MariaDbConnectionFromEnvironment() {
    return Env("TELVIX_TEST_MARIADB_CONNECTION");
}

const FixtureCatalogue& Fixture() {
    static const FixtureCatalogue catalogue = BuildFixtureCatalogue();
    return catalogue;
}

ScratchCatalogue::ScratchCatalogue(Backend backend) : backend_(backend) {
    if (backend == Backend::Sqlite) {
        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("telvix-catalogue-" + UniqueSuffix());
        std::filesystem::create_directories(dir);
        scratchName_ = PathToUtf8(dir);
        const std::string file = PathToUtf8(dir / "catalogue.sqlite");
        error_ = WriteSqliteCatalogue(Fixture(), file);
        if (error_.empty()) {
            connection_ = "Driver=" + SqliteOdbcDriver() +
                          ";Database=" + OdbcDriverFilePath(dir / "catalogue.sqlite") + ";NoCreat=1";
        }
        return;
    }
    const std::string shared = MariaDbConnectionFromEnvironment();
    const std::string sharedName = Env("TELVIX_TEST_MARIADB_DATABASE");
    if (shared.empty() || sharedName.empty()) {
        error_ = "TELVIX_TEST_MARIADB_CONNECTION is not set";
        return;
    }
    const std::string name = "tvx_scratch_" + UniqueSuffix();
    if (!RunAll(CatalogueDb(shared, 15), "CREATE DATABASE " + name + " CHARACTER SET utf8mb4", error_)) {
        return;
    }
    scratchName_ = name;
    const std::string connection = ReplaceDatabase(shared, sharedName, name);
    const std::string script = std::string(MariaDbSchemaText()) + CatalogueInsertSql(Fixture());
    if (RunAll(CatalogueDb(connection, 15), script, error_)) {
        connection_ = connection;
    }
}

ScratchCatalogue::~ScratchCatalogue() {
    if (scratchName_.empty()) {
        return;
    }
    if (backend_ == Backend::Sqlite) {
        std::error_code ignored;
        std::filesystem::remove_all(scratchName_, ignored);
        return;
    }
    std::string ignored;
    RunAll(CatalogueDb(MariaDbConnectionFromEnvironment(), 15), "DROP DATABASE IF EXISTS " + scratchName_,
           ignored);
}

void ScratchCatalogue::Exec(const std::string& sql) const {
    std::string error;
    EXPECT_TRUE(RunAll(Db(), sql, error)) << error;
}

void ScratchCatalogue::MakeTextColumn(const std::string& table, const std::string& column) const {
    if (backend_ == Backend::MariaDb) {
        Exec("ALTER TABLE " + table + " MODIFY " + column + " VARCHAR(32) NULL");
    }
}
