#include "catalogue/DatabaseWorker.h"

#include "catalogue/CatalogueValues.h"
#include "catalogue/InstallJournal.h"
#include "catalogue/SoftwareRows.h"
#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"

namespace {

std::u16string Number(std::int64_t value) {
    return FromUtf8(std::to_string(value));
}

// Reads only its input; writes its outputs into the context.
class Operation {
  public:
    Operation(UpdaterContext& ctx, const DatabaseRunInput& input, CatalogueConnection& connection,
              const DatabaseWorkerHooks& hooks)
        : ctx_(ctx), input_(input), connection_(connection), hooks_(hooks) {}

    // False when a statement failed (or the install record found no row).
    bool Run() {
        switch (input_.operation) {
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
                Number(input_.softwareId) + u"' AND sw_build='" + Number(input_.softwareBuild) +
                u"' AND vehicle_make=? AND vehicle_model=?",
            {input_.mfgId, input_.vehicleMake, input_.vehicleModel}};
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
            SqlStatement{u"SELECT label_serial FROM tolvanedevice WHERE mcu_serial=?", {input_.mcuSerial}},
            [&](const OdbcRow& row) { ctx_.label_serial = row.Text("label_serial"); }, rows, error_);
        ctx_.dbRowCount = rows;
        return ok;
    }

    // An UPDATE that changes no row is a failure: the install would go unrecorded. A failed
    // record stays pending in the journal for a retry.
    bool RecordInstall() {
        InstallJournal* journal = input_.journalId != 0 ? hooks_.journal : nullptr;
        std::unique_lock<std::mutex> sending;
        if (journal != nullptr) {
            sending = journal->LockSending();
            if (!journal->IsPending(input_.journalId)) {
                return true;  // a retry pass sent it already
            }
        }
        const RecordResult result = SendInstallRecord(connection_, input_.record, error_);
        if (result == RecordResult::Recorded) {
            if (journal != nullptr) {
                journal->MarkRecorded(input_.journalId);
            }
            return true;
        }
        if (hooks_.log != nullptr) {
            hooks_.log->Write("catalogue",
                              "the install record of interface " + ToUtf8(input_.record.mcu_serial) +
                                  " was not taken: " +
                                  (result == RecordResult::NoRow ? std::string("no such interface")
                                                                 : ToUtf8(error_.message)) +
                                  (journal != nullptr ? "; the journal keeps it for a retry" : ""));
        }
        return false;
    }

    bool LoadUpgrade() {
        const SqlStatement statement{u"SELECT * FROM tolvanesw where mfg_id=? AND sw_id='" +
                                         Number(input_.softwareId) +
                                         u"' AND sw_valid_status <> 0 AND vehicle_make=? AND vehicle_model=?",
                                     {input_.mfgId, input_.vehicleMake, input_.vehicleModel}};
        std::int32_t rows = 0;
        const bool ok = connection_.Query(
            statement,
            [&](const OdbcRow& row) { FillSoftwareRecord(row, ctx_.softwareRecord, ImageDetails::Skip); },
            rows, error_);
        ctx_.dbRowCount = rows;
        return ok;
    }

    UpdaterContext& ctx_;
    const DatabaseRunInput& input_;
    CatalogueConnection& connection_;
    const DatabaseWorkerHooks& hooks_;
    DbError error_;
};

}  // namespace

DatabaseRunInput CopyRunInput(const UpdaterContext& ctx, std::int32_t operation, LocalDate today) {
    DatabaseRunInput input;
    input.operation = operation;
    input.mfgId = ctx.mfg_id;
    input.mcuSerial = ctx.mcu_serial;
    input.softwareId = ctx.softwareId;
    input.softwareBuild = ctx.softwareBuild;
    input.vehicleMake = WidenLatin1(ctx.deviceConfig.vehicleMake());
    input.vehicleModel = WidenLatin1(ctx.deviceConfig.vehicleModel());
    if (operation == DB_OP_RECORD_INSTALL) {
        input.record =
            MakeInstallRecord(ctx.softwareRecord, ctx.deviceConfig.totalUpdates(), ctx.mcu_serial, today);
    }
    return input;
}

void RunDatabaseOperation(UpdaterContext& ctx, const DatabaseRunInput& input, const CatalogueDb& db,
                          const DatabaseWorkerHooks& hooks) {
    ctx.dbResult.store(DB_BUSY, std::memory_order_release);
    DbError error;
    std::unique_ptr<CatalogueConnection> connection = db.Open(OpenMode::Writable, error);
    if (!connection) {
        ctx.dbResult.store(DB_FAILED, std::memory_order_release);
        return;
    }
    const bool ok = Operation(ctx, input, *connection, hooks).Run();
    connection.reset();
    if (ok && hooks.catalogueReached) {
        hooks.catalogueReached();
    }
    ctx.dbResult.store(ok ? DB_DONE : DB_FAILED, std::memory_order_release);
}

void RunDatabaseOperation(UpdaterContext& ctx, const CatalogueDb& db, const Clock& clock) {
    RunDatabaseOperation(ctx, CopyRunInput(ctx, ctx.dbOperation, clock.Today()), db);
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
    DatabaseRunInput input = CopyRunInput(ctx_, operation, clock_.Today());
    if (operation == DB_OP_RECORD_INSTALL && hooks_.journal != nullptr) {
        input.journalId = hooks_.journal->SaveRecord(input.record);
    }
    ctx_.dbResult.store(DB_BUSY, std::memory_order_release);
    thread_ =
        std::thread([this, input = std::move(input)] { RunDatabaseOperation(ctx_, input, db_, hooks_); });
}
