#pragma once
// Catalogue fields of the shared context: the search rows, the software record, the endpoints and
// the database worker's fields. The worker writes its outputs first and dbResult last (release);
// the window thread reads the outputs only after an acquire load of dbResult shows DB_DONE or
// DB_FAILED.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/EndpointSettings.h"
#include "catalogue/SoftwareRecord.h"

enum DbResult : std::int32_t { DB_BUSY = 11, DB_DONE = 80, DB_FAILED = 81 };

enum DbOperation : std::int32_t {
    DB_OP_CURRENT_SOFTWARE = 0,
    DB_OP_LABEL_SERIAL = 1,
    DB_OP_RECORD_INSTALL = 2,
    DB_OP_LOAD_UPGRADE = 4,
};

// What the search keeps per result-list row. An entry without a build number (NULL or blank) keeps
// 0 and says so, since an entry with build 0 is another entry.
struct SearchRow {
    std::int32_t sw_id = 0;
    std::uint16_t sw_build = 0;
    bool sw_build_empty = false;
};
inline constexpr std::size_t kMaxSearchRows = 512;

struct CatalogueFields {
    std::int32_t dbOperation = 0;
    std::atomic<std::int32_t> dbResult{0};
    std::int32_t dbRowCount = 0;
    std::u16string label_serial;
    std::int32_t selectedRow = 0;
    std::array<SearchRow, kMaxSearchRows> SearchRows{};
    SoftwareRecord softwareRecord;
    // Catalogue, FTP and web endpoints; the program's fixed values until start-up loads the
    // settings file over them.
    EndpointSettings endpoints = DefaultEndpointSettings();
};
