#include "catalogue/DatabaseWorker.h"

#include <cstdio>

#include "catalogue/CatalogueValues.h"
#include "catalogue/SoftwareRows.h"
#include "platform/Text.h"

namespace {

std::u16string Number(std::int64_t value) {
    return FromUtf8(std::to_string(value));
}

// A vehicle text of the configuration record: Latin-1 bytes widened to UTF-16.
std::u16string VehicleText(const std::string& latin1) {
    return WidenLatin1(latin1);
}

class Operation {
  public:
    Operation(UpdaterContext& ctx, CatalogueConnection& connection, LocalDate today)
        : ctx_(ctx), connection_(connection), today_(today) {}

    // False when a statement failed.
    bool Run(std::int32_t operation) {
        switch (operation) {
            case DB_OP_CURRENT_SOFTWARE:
                return CurrentSoftware() && LabelSerial();
            case DB_OP_LABEL_SERIAL:
                return LabelSerial();
            case DB_OP_RECORD_INSTALL:
                return RecordInstall();
            case DB_OP_LOAD_UPGRADE:
                return LoadUpgrade();
            default:
                return false;
        }
    }

  private:
    bool CurrentSoftware() {
        SoftwareRecord& record = ctx_.softwareRecord;
        record.sw_description.clear();
        record.vehicle_year_from.clear();
        record.vehicle_year_to.clear();
        const SqlStatement statement{
            u"SELECT sw_description, sw_valid_status, vehicle_year_from, vehicle_year_to FROM tolvanesw "
            u"where "
            u"mfg_id=? AND sw_id='" +
                Number(ctx_.softwareId) + u"' AND sw_build='" + Number(ctx_.softwareBuild) +
                u"' AND vehicle_make=? AND vehicle_model=?",
            {ctx_.mfg_id, VehicleText(ctx_.deviceConfig.vehicleMake()),
             VehicleText(ctx_.deviceConfig.vehicleModel())}};
        std::int32_t rows = 0;
        return connection_.Query(
            statement,
            [&](const OdbcRow& row) {
                record.sw_description = row.Text("sw_description");
                record.sw_valid_status = DecimalAs<std::uint8_t>(row.Text("sw_valid_status"));
                record.vehicle_year_from = row.Text("vehicle_year_from");
                record.vehicle_year_to = row.Text("vehicle_year_to");
            },
            rows, error_);
    }

    bool LabelSerial() {
        ctx_.label_serial.clear();
        std::int32_t rows = 0;
        const bool ok = connection_.Query(
            SqlStatement{u"SELECT label_serial FROM tolvanedevice WHERE mcu_serial=?", {ctx_.mcu_serial}},
            [&](const OdbcRow& row) { ctx_.label_serial = row.Text("label_serial"); }, rows, error_);
        ctx_.dbRowCount = rows;
        return ok;
    }

    bool RecordInstall() {
        char date[32];
        std::snprintf(date, sizeof date, "%02d/%02d/%d", today_.month, today_.day, today_.year);
        const SoftwareRecord& record = ctx_.softwareRecord;
        const SqlStatement statement{
            u"UPDATE tolvanedevice SET sw_id=" + Number(record.sw_id) + u", sw_build=" +
                Number(record.sw_build) +
                u", vehicle_make=?, vehicle_model=?, updated_by=9, update_date=?, total_updates=" +
                Number(std::int64_t{ctx_.deviceConfig.totalUpdates()} + 1) + u" WHERE mcu_serial=?",
            {record.vehicle_make, record.vehicle_model, FromUtf8(date), ctx_.mcu_serial}};
        return connection_.Change(statement, error_);
    }

    bool LoadUpgrade() {
        const SqlStatement statement{u"SELECT * FROM tolvanesw where mfg_id=? AND sw_id='" +
                                         Number(ctx_.softwareId) +
                                         u"' AND sw_valid_status <> 0 AND vehicle_make=? AND vehicle_model=?",
                                     {ctx_.mfg_id, VehicleText(ctx_.deviceConfig.vehicleMake()),
                                      VehicleText(ctx_.deviceConfig.vehicleModel())}};
        std::int32_t rows = 0;
        const bool ok = connection_.Query(
            statement,
            [&](const OdbcRow& row) { FillSoftwareRecord(row, ctx_.softwareRecord, ImageDetails::Skip); },
            rows, error_);
        ctx_.dbRowCount = rows;
        return ok;
    }

    UpdaterContext& ctx_;
    CatalogueConnection& connection_;
    LocalDate today_;
    DbError error_;
};

}  // namespace

void RunDatabaseOperation(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock) {
    ctx.dbResult.store(DB_BUSY, std::memory_order_release);
    DbError error;
    std::unique_ptr<CatalogueConnection> connection = db.Open(OpenMode::Writable, error);
    if (!connection) {
        ctx.dbResult.store(DB_FAILED, std::memory_order_release);
        return;
    }
    const LocalDate today = clock.Today();
    const bool ok = Operation(ctx, *connection, today).Run(ctx.dbOperation);
    connection.reset();
    ctx.dbResult.store(ok ? DB_DONE : DB_FAILED, std::memory_order_release);
}

DatabaseWorker::~DatabaseWorker() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DatabaseWorker::Start(std::int32_t operation) {
    if (thread_.joinable()) {
        thread_.join();
    }
    ctx_.dbOperation = operation;
    ctx_.dbResult.store(DB_BUSY, std::memory_order_release);
    thread_ = std::thread([this] { RunDatabaseOperation(ctx_, db_, clock_); });
}
