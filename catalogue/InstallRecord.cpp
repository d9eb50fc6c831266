#include "catalogue/InstallRecord.h"

#include <cstdio>

#include "platform/Text.h"

namespace {
std::u16string Number(std::int64_t value) {
    return FromUtf8(std::to_string(value));
}
}  // namespace

InstallRecord MakeInstallRecord(const SoftwareRecord& software, std::uint16_t totalUpdatesBefore,
                                std::u16string mcuSerial, LocalDate today) {
    char date[32];
    std::snprintf(date, sizeof date, "%02d/%02d/%d", today.month, today.day, today.year);
    InstallRecord record;
    record.sw_id = software.sw_id;
    record.sw_build = software.sw_build;
    record.vehicle_make = software.vehicle_make;
    record.vehicle_model = software.vehicle_model;
    record.update_date = FromUtf8(date);
    record.total_updates = std::int64_t{totalUpdatesBefore} + 1;
    record.mcu_serial = std::move(mcuSerial);
    return record;
}

RecordResult SendInstallRecord(CatalogueConnection& connection, const InstallRecord& record, DbError& error) {
    const SqlStatement update{
        u"UPDATE tolvanedevice SET sw_id=" + Number(record.sw_id) + u", sw_build=" + Number(record.sw_build) +
            u", vehicle_make=?, vehicle_model=?, updated_by=" + Number(record.updated_by) +
            u", update_date=?, total_updates=" + Number(record.total_updates) + u" WHERE mcu_serial=?",
        {record.vehicle_make, record.vehicle_model, record.update_date, record.mcu_serial}};
    std::int64_t changed = -1;
    if (!connection.Change(update, error, &changed)) {
        return RecordResult::Failed;
    }
    if (changed > 0) {
        return RecordResult::Recorded;
    }
    std::int32_t rows = 0;
    if (!connection.Query(
            SqlStatement{u"SELECT mcu_serial FROM tolvanedevice WHERE mcu_serial=?", {record.mcu_serial}},
            [](const OdbcRow&) {}, rows, error)) {
        return RecordResult::Failed;
    }
    return rows > 0 ? RecordResult::Recorded : RecordResult::NoRow;
}
