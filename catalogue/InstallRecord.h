#pragma once
// An install as the catalogue's register of serviced interfaces (tolvanedevice) records it: the
// values of its UPDATE, fixed when the install reaches its record step, so that a later retry
// sends exactly what the first attempt sent. The values are absolute (no "total_updates + 1" in
// the statement), so sending a record twice leaves the row as sending it once.
#include <cstdint>
#include <string>

#include "catalogue/CatalogueDb.h"
#include "catalogue/SoftwareRecord.h"
#include "platform/Clock.h"

inline constexpr std::int32_t kUpdatedByUpdater = 9;

struct InstallRecord {
    std::uint16_t sw_id = 0;
    std::uint8_t sw_build = 0;
    std::u16string vehicle_make;
    std::u16string vehicle_model;
    std::int32_t updated_by = kUpdatedByUpdater;
    std::u16string update_date;  // local date as month/day/year, "%02d/%02d/%d"
    std::int64_t total_updates = 0;
    std::u16string mcu_serial;  // the row's key

    friend bool operator==(const InstallRecord&, const InstallRecord&) = default;
};

// The record of installing software into the interface mcuSerial, whose configuration counted
// totalUpdatesBefore installs, on the day today.
InstallRecord MakeInstallRecord(const SoftwareRecord& software, std::uint16_t totalUpdatesBefore,
                                std::u16string mcuSerial, LocalDate today);

enum class RecordResult {
    Recorded,  // the interface's row holds the record's values
    NoRow,     // the catalogue has no row for the interface: nothing was recorded
    Failed,    // a statement failed; error says why
};

// Runs the record's UPDATE. MariaDB counts only the rows whose values changed, so when none did
// the row is looked up: a row that already held the values (a retry after an unknown outcome)
// counts as recorded.
RecordResult SendInstallRecord(CatalogueConnection& connection, const InstallRecord& record, DbError& error);
