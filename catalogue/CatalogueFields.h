#pragma once
// Catalogue fields of the shared context: the search rows, the software record and the database
// worker's completion value (written last, with release ordering).
#include <atomic>
#include <cstdint>
#include <string>

enum DbResult : std::int32_t { DB_BUSY = 11, DB_DONE = 80, DB_FAILED = 81 };

struct CatalogueFields {
    std::int32_t dbOperation = 0;
    std::atomic<std::int32_t> dbResult{0};
    std::int32_t dbRowCount = 0;
    std::u16string label_serial;
    std::int32_t selectedRow = 0;
};
