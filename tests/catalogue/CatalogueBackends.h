#pragma once
// The two catalogue back ends the catalogue tests run against: the test MariaDB server (when its
// variables are set) and an SQLite catalogue file written by the fixture generator. Each test gets
// a catalogue of its own holding the fixture rows, which it may change freely.
#include <memory>
#include <ostream>
#include <string>

#include "FixtureCatalogue.h"
#include "catalogue/CatalogueDb.h"

enum class Backend { MariaDb, Sqlite };

std::string BackendName(Backend backend);
inline void PrintTo(Backend backend, std::ostream* out) {
    *out << BackendName(backend);
}

inline constexpr char kMariaDbDriverPath[] = "/usr/lib/x86_64-linux-gnu/odbc/libmaodbc.so";

// Empty when the test MariaDB server's variables are absent.
std::string MariaDbConnectionFromEnvironment();

class ScratchCatalogue {
  public:
    // A fresh copy of the fixture catalogue; check ok() (MariaDB may be absent).
    explicit ScratchCatalogue(Backend backend);
    ~ScratchCatalogue();
    ScratchCatalogue(const ScratchCatalogue&) = delete;
    ScratchCatalogue& operator=(const ScratchCatalogue&) = delete;

    bool ok() const { return !connection_.empty(); }
    const std::string& error() const { return error_; }
    Backend backend() const { return backend_; }
    const std::string& connection() const { return connection_; }
    // A database object on this catalogue with the given time-out.
    CatalogueDb Db(int timeoutSeconds = 15) const { return CatalogueDb(connection_, timeoutSeconds); }
    // Runs one statement on a writable connection; fails the test on error.
    void Exec(const std::string& sql) const;
    // Makes a numeric column of tolvanesw hold any text (SQLite columns already do).
    void MakeTextColumn(const std::string& table, const std::string& column) const;

  private:
    Backend backend_;
    std::string connection_;
    std::string scratchName_;  // MariaDB database or SQLite directory
    std::string error_;
};

const FixtureCatalogue& Fixture();
