// The database worker's operations and the synchronous lookups over both back ends.
#include <chrono>
#include <thread>

#include "CatalogueTestBase.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/DatabaseWorker.h"
#include "catalogue/InstallJournal.h"
#include "catalogue/VehicleSearch.h"
#include "platform/Text.h"
#include "tests/support/ScratchFolder.h"

namespace {

const FixtureEntry& EntryOf(const std::string& mfgId, int swId, int build) {
    for (const FixtureEntry& e : Fixture().entries) {
        if (e.mfg_id == mfgId && e.sw_id == swId && e.sw_build == build) {
            return e;
        }
    }
    throw std::runtime_error("no such fixture entry");
}

const FixtureDevice& DeviceOf(const std::string& mfgId) {
    for (const FixtureDevice& d : Fixture().devices) {
        if (d.mfg_id == mfgId) {
            return d;
        }
    }
    throw std::runtime_error("no such fixture device");
}

class DatabaseOperationsTest : public CatalogueTest {
  protected:
    // The identity and configuration of the QD7720R interface registered in the fixture.
    void UseFixtureInterface() {
        const FixtureDevice& device = DeviceOf("QD7720R");
        ctx_.mcu_serial = FromUtf8(device.mcu_serial);
        ctx_.softwareId = static_cast<std::uint16_t>(device.sw_id);
        ctx_.softwareBuild = static_cast<std::uint8_t>(device.sw_build);
        ctx_.deviceConfig.setVehicleMake(device.vehicle_make);
        ctx_.deviceConfig.setVehicleModel(device.vehicle_model);
    }
    std::int32_t Run(std::int32_t operation) {
        ctx_.dbOperation = operation;
        RunDatabaseOperation(ctx_, db(), clock_);
        return ctx_.dbResult.load(std::memory_order_acquire);
    }
    std::vector<std::string> DeviceRow(const std::string& serial) {
        std::vector<std::string> values;
        DbError error;
        auto connection = db().Open(OpenMode::ReadOnly, error);
        std::int32_t rows = 0;
        EXPECT_TRUE(connection && connection->Query(
                                      {u"SELECT * FROM tolvanedevice WHERE mcu_serial=?", {FromUtf8(serial)}},
                                      [&](const OdbcRow& row) {
                                          for (const char* c :
                                               {"sw_id", "sw_build", "vehicle_make", "vehicle_model",
                                                "updated_by", "update_date", "total_updates"}) {
                                              values.push_back(ToUtf8(row.Text(c)));
                                          }
                                      },
                                      rows, error));
        return values;
    }
    // Waits (bounded) for a worker run to finish.
    std::int32_t WaitForResult() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        std::int32_t result = DB_BUSY;
        while ((result = ctx_.dbResult.load(std::memory_order_acquire)) == DB_BUSY &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        return result;
    }
    // Runs a search for the make and clicks the first row.
    void SearchAndSelect(const std::u16string& make) {
        VehicleSearch search(ctx_, panel_, db(), messages_, clock_, [] { return false; });
        search.FillVehicleLists();
        ASSERT_TRUE(panel_.Select(SearchList::Make, make));
        search.RunSearch();
        ASSERT_FALSE(panel_.results.empty());
        search.SelectResultRow(0);
    }
};

}  // namespace

TEST_P(DatabaseOperationsTest, CurrentSoftwareDescribesTheInterfaceAndItsLabelSerial) {
    UseFixtureInterface();
    ctx_.softwareRecord.sw_valid_status = 0;
    ASSERT_EQ(Run(DB_OP_CURRENT_SOFTWARE), DB_DONE);
    const FixtureEntry& entry = EntryOf("QD7720R", DeviceOf("QD7720R").sw_id, DeviceOf("QD7720R").sw_build);
    EXPECT_EQ(ctx_.softwareRecord.sw_description, FromUtf8(entry.sw_description));
    EXPECT_EQ(ctx_.softwareRecord.vehicle_year_from, FromUtf8(entry.vehicle_year_from));
    EXPECT_EQ(ctx_.softwareRecord.vehicle_year_to, FromUtf8(entry.vehicle_year_to));
    EXPECT_EQ(ctx_.softwareRecord.sw_valid_status, 1);
    EXPECT_EQ(ctx_.label_serial, FromUtf8(DeviceOf("QD7720R").label_serial));
    EXPECT_EQ(ctx_.dbRowCount, 1);
}

TEST_P(DatabaseOperationsTest, CurrentSoftwareNotInCatalogueStillLooksUpTheLabel) {
    UseFixtureInterface();
    ctx_.softwareId = 4321;
    ctx_.softwareRecord.sw_description = u"old";
    ctx_.softwareRecord.vehicle_year_from = u"1999";
    ctx_.softwareRecord.sw_valid_status = 1;
    ASSERT_EQ(Run(DB_OP_CURRENT_SOFTWARE), DB_DONE);
    EXPECT_TRUE(ctx_.softwareRecord.sw_description.empty());
    EXPECT_TRUE(ctx_.softwareRecord.vehicle_year_from.empty());
    EXPECT_EQ(ctx_.softwareRecord.sw_valid_status, 1) << "kept";
    EXPECT_EQ(ctx_.label_serial, FromUtf8(DeviceOf("QD7720R").label_serial));

    ctx_.mcu_serial = u"00112233-44556677-8899AABB-CCDDEEFF";
    ASSERT_EQ(Run(DB_OP_CURRENT_SOFTWARE), DB_DONE);
    EXPECT_TRUE(ctx_.label_serial.empty());
    EXPECT_EQ(ctx_.dbRowCount, 0);
}

TEST_P(DatabaseOperationsTest, CurrentSoftwareWithdrawnReportsValidStatusZero) {
    UseFixtureInterface();
    ctx_.softwareId = 1060;  // Ford F-150, build 1 withdrawn
    ctx_.softwareBuild = 1;
    ctx_.deviceConfig.setVehicleMake("Ford");
    ctx_.deviceConfig.setVehicleModel("F-150");
    ctx_.softwareRecord.sw_valid_status = 1;
    ASSERT_EQ(Run(DB_OP_CURRENT_SOFTWARE), DB_DONE);
    EXPECT_EQ(ctx_.softwareRecord.sw_valid_status, 0);
    EXPECT_EQ(ctx_.softwareRecord.vehicle_year_from, u"2012");
}

TEST_P(DatabaseOperationsTest, RecordInstallCountsAndDatesTheInstall) {
    UseScratch();
    UseFixtureInterface();
    ctx_.deviceConfig.setTotalUpdates(4);
    ctx_.softwareRecord.sw_id = 1561;
    ctx_.softwareRecord.sw_build = 1;
    ctx_.softwareRecord.vehicle_make = u"Land Rover's";
    ctx_.softwareRecord.vehicle_model = u"x'); DELETE FROM tolvanedevice; --";
    clock_.SetToday(LocalDate{2026, 3, 7});
    ASSERT_EQ(Run(DB_OP_RECORD_INSTALL), DB_DONE);
    EXPECT_EQ(DeviceRow(DeviceOf("QD7720R").mcu_serial),
              (std::vector<std::string>{"1561", "1", "Land Rover's", "x'); DELETE FROM tolvanedevice; --",
                                        "9", "03/07/2026", "5"}));
    EXPECT_EQ(DeviceRow(DeviceOf("WE5581R").mcu_serial).size(), 7u) << "other rows untouched";
    EXPECT_EQ(DeviceRow(DeviceOf("WE5581R").mcu_serial)[2], DeviceOf("WE5581R").vehicle_make);
}

TEST_P(DatabaseOperationsTest, RecordInstallThatChangesNoRowFailsButARepeatDoesNot) {
    UseScratch();
    UseFixtureInterface();
    ASSERT_EQ(Run(DB_OP_RECORD_INSTALL), DB_DONE);
    EXPECT_EQ(Run(DB_OP_RECORD_INSTALL), DB_DONE) << "the same values again: the row holds them";
    ctx_.mcu_serial = u"00112233-44556677-8899AABB-CCDDEEFF";
    EXPECT_EQ(Run(DB_OP_RECORD_INSTALL), DB_FAILED) << "no row for the interface";
}

TEST_P(DatabaseOperationsTest, LoadUpgradeFindsTheValidBuild) {
    ctx_.softwareId = 1060;
    ctx_.softwareBuild = 1;
    ctx_.deviceConfig.setVehicleMake("Ford");
    ctx_.deviceConfig.setVehicleModel("F-150");
    ctx_.softwareRecord.sw_length = 77;
    ctx_.softwareRecord.sw_md5 = u"kept";
    ASSERT_EQ(Run(DB_OP_LOAD_UPGRADE), DB_DONE);
    EXPECT_EQ(ctx_.dbRowCount, 1);
    const FixtureEntry& entry = EntryOf("QD7720R", 1060, 2);
    EXPECT_EQ(ctx_.softwareRecord.id, entry.id);
    EXPECT_EQ(ctx_.softwareRecord.sw_build, 2);
    EXPECT_EQ(ctx_.softwareRecord.sw_filename, FromUtf8(entry.sw_filename));
    EXPECT_EQ(ctx_.softwareRecord.sw_path, FromUtf8(entry.sw_path));
    EXPECT_EQ(ctx_.softwareRecord.vehicle_transmission, entry.vehicle_transmission);
    EXPECT_EQ(ctx_.softwareRecord.sw_length, 77u) << "not read by the upgrade lookup";
    EXPECT_EQ(ctx_.softwareRecord.sw_md5, u"kept");

    ASSERT_TRUE(LoadImageDetails(ctx_, db()));
    EXPECT_EQ(ctx_.softwareRecord.sw_length, entry.sw_length);
    EXPECT_EQ(ctx_.softwareRecord.sw_md5, FromUtf8(entry.sw_md5));
}

TEST_P(DatabaseOperationsTest, LoadUpgradeWithTwoRowsKeepsTheSecond) {
    ctx_.mfg_id = u"QH7720R";
    ctx_.softwareId = 2101;
    ctx_.deviceConfig.setVehicleMake("GMC");
    ctx_.deviceConfig.setVehicleModel("Yukon");
    ASSERT_EQ(Run(DB_OP_LOAD_UPGRADE), DB_DONE);
    EXPECT_EQ(ctx_.dbRowCount, 2);
    EXPECT_EQ(ctx_.softwareRecord.sw_build, 4);
}

TEST_P(DatabaseOperationsTest, LoadUpgradeWithoutMatchIsDoneWithNoRows) {
    ctx_.softwareId = 4321;
    ctx_.softwareRecord.sw_filename = u"kept.bin";
    ASSERT_EQ(Run(DB_OP_LOAD_UPGRADE), DB_DONE);
    EXPECT_EQ(ctx_.dbRowCount, 0);
    EXPECT_EQ(ctx_.softwareRecord.sw_filename, u"kept.bin");
}

TEST_P(DatabaseOperationsTest, StatementFailureAfterOutputsIsFailed) {
    UseScratch();
    UseFixtureInterface();
    scratch().Exec("DROP TABLE tolvanedevice");
    ASSERT_EQ(Run(DB_OP_CURRENT_SOFTWARE), DB_FAILED);
    EXPECT_FALSE(ctx_.softwareRecord.sw_description.empty()) << "written before the failure";
    EXPECT_EQ(Run(DB_OP_RECORD_INSTALL), DB_FAILED);
    EXPECT_EQ(Run(3), DB_FAILED) << "no such operation";
}

TEST_P(DatabaseOperationsTest, WorkerThreadPublishesItsOutputsBeforeTheResult) {
    UseScratch();
    UseFixtureInterface();
    DatabaseWorker worker(ctx_, db(), clock_);
    ctx_.dbResult.store(DB_DONE);
    worker.Start(DB_OP_CURRENT_SOFTWARE);
    EXPECT_EQ(ctx_.dbOperation, DB_OP_CURRENT_SOFTWARE);
    std::int32_t result = ctx_.dbResult.load(std::memory_order_acquire);
    EXPECT_TRUE(result == DB_BUSY || result == DB_DONE) << "busy from the start: " << result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((result = ctx_.dbResult.load(std::memory_order_acquire)) == DB_BUSY &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    ASSERT_EQ(result, DB_DONE);
    EXPECT_EQ(ctx_.label_serial, FromUtf8(DeviceOf("QD7720R").label_serial));
    worker.Start(DB_OP_RECORD_INSTALL);
    while ((result = ctx_.dbResult.load(std::memory_order_acquire)) == DB_BUSY &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_EQ(result, DB_DONE);
}

TEST_P(DatabaseOperationsTest, WorkerJournalsTheRecordBeforeSendingAndKeepsAFailedOnePending) {
    UseScratch();
    UseFixtureInterface();
    ctx_.softwareRecord.sw_id = 1561;
    ScratchFolder folder;
    InstallJournal journal(folder.Path() / "journal.sqlite", nullptr);
    DatabaseWorker worker(ctx_, db(), clock_, DatabaseWorkerHooks{&journal, nullptr, {}});
    for (const std::u16string& serial :
         {ctx_.mcu_serial, std::u16string(u"00112233-44556677-8899AABB-CCDDEEFF")}) {
        ctx_.mcu_serial = serial;
        journal.BeginInstall(InstallStart{});
        worker.Start(DB_OP_RECORD_INSTALL);
        journal.EndInstall(false, u"ended before the result");
        WaitForResult();
    }
    const std::vector<JournalEntry> entries = journal.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].recordState, RecordState::Pending);
    EXPECT_EQ(entries[1].recordState, RecordState::Recorded);
    ASSERT_TRUE(entries[1].record.has_value());
    EXPECT_EQ(entries[1].record->sw_id, 1561);
    EXPECT_EQ(entries[1].record->mcu_serial, FromUtf8(DeviceOf("QD7720R").mcu_serial));
    EXPECT_EQ(entries[1].record->update_date, u"12/09/2026");
}

TEST_P(DatabaseOperationsTest, WorkerReadsOnlyTheInputsCopiedWhenItStarted) {
    UseScratch();
    UseFixtureInterface();
    const std::string serial = DeviceOf("QD7720R").mcu_serial;
    ctx_.deviceConfig.setTotalUpdates(4);
    ctx_.softwareRecord.sw_id = 1561;
    ctx_.softwareRecord.sw_build = 1;
    ctx_.softwareRecord.vehicle_make = u"Land Rover's";
    ctx_.softwareRecord.vehicle_model = u"Defender";
    clock_.SetToday(LocalDate{2026, 3, 7});
    DatabaseWorker worker(ctx_, db(), clock_);
    // While each run goes on, the window thread changes everything the run reads (not the
    // software record during a lookup: that is the lookup's output).
    auto meddle = [&](int i, bool softwareRecordToo) {
        ctx_.mfg_id = i % 2 ? u"QH7720R" : u"WE5581R";
        ctx_.mcu_serial = u"FFFFFFFF-FFFFFFFF-FFFFFFFF-FFFFFFF" + std::u16string(1, u'0' + i % 10);
        ctx_.softwareId = static_cast<std::uint16_t>(i);
        ctx_.deviceConfig.setVehicleMake("Lada");
        ctx_.deviceConfig.setTotalUpdates(static_cast<std::uint16_t>(i));
        ctx_.dbOperation = DB_OP_LOAD_UPGRADE;
        if (softwareRecordToo) {
            ctx_.softwareRecord.sw_id = static_cast<std::uint16_t>(i);
            ctx_.softwareRecord.vehicle_make = u"Lada";
        }
    };
    worker.Start(DB_OP_RECORD_INSTALL);
    for (int i = 0; ctx_.dbResult.load(std::memory_order_acquire) == DB_BUSY; ++i) {
        meddle(i, true);
    }
    EXPECT_EQ(ctx_.dbResult.load(), DB_DONE);
    EXPECT_EQ(DeviceRow(serial),
              (std::vector<std::string>{"1561", "1", "Land Rover's", "Defender", "9", "03/07/2026", "5"}));

    ctx_.mfg_id = u"QD7720R";
    UseFixtureInterface();
    worker.Start(DB_OP_CURRENT_SOFTWARE);
    for (int i = 0; ctx_.dbResult.load(std::memory_order_acquire) == DB_BUSY; ++i) {
        meddle(i, false);
    }
    EXPECT_EQ(ctx_.dbResult.load(), DB_DONE);
    EXPECT_EQ(ctx_.label_serial, FromUtf8(DeviceOf("QD7720R").label_serial));
    EXPECT_FALSE(ctx_.softwareRecord.sw_description.empty());
}

TEST_P(DatabaseOperationsTest, LoadSelectedSoftwareKeepsBuildsInEightBits) {
    SearchAndSelect(u"Mazda");
    ctx_.selectedRow = 1;  // CX-9, build 300
    ASSERT_TRUE(LoadSelectedSoftware(ctx_, panel_, db()));
    const FixtureEntry& entry = EntryOf("QD7720R", 1565, 300);
    EXPECT_EQ(ctx_.softwareRecord.sw_id, 1565);
    EXPECT_EQ(ctx_.softwareRecord.sw_build, 44);
    EXPECT_EQ(ctx_.softwareRecord.id, entry.id);
    EXPECT_EQ(ctx_.softwareRecord.sw_filename, FromUtf8(entry.sw_filename));
    EXPECT_EQ(ctx_.softwareRecord.sw_label, FromUtf8(entry.sw_label));
    EXPECT_EQ(ctx_.softwareRecord.http_users_manual, FromUtf8(entry.http_users_manual));
    EXPECT_EQ(ctx_.softwareRecord.vehicle_make, u"Mazda");
    EXPECT_EQ(ctx_.softwareRecord.vehicle_model, u"CX-9");
    EXPECT_EQ(ctx_.softwareRecord.sw_length, entry.sw_length);
    EXPECT_EQ(ctx_.softwareRecord.sw_md5, FromUtf8(entry.sw_md5));
    EXPECT_EQ(ctx_.softwareRecord.sw_update_type, entry.sw_update_type);
}

TEST_P(DatabaseOperationsTest, LoadSelectedSoftwareOfDeletedEntryKeepsTheRecord) {
    UseScratch();
    SearchAndSelect(u"Land Rover's");
    ctx_.softwareRecord.sw_filename = u"earlier.bin";
    scratch().Exec("DELETE FROM tolvanesw WHERE sw_id=1561");
    EXPECT_FALSE(LoadSelectedSoftware(ctx_, panel_, db()));
    EXPECT_EQ(ctx_.softwareRecord.sw_filename, u"earlier.bin");
}

TEST_P(DatabaseOperationsTest, LoadSelectedSoftwareWithoutSelectionReadsNothing) {
    SearchAndSelect(u"Ford");
    ctx_.softwareRecord.sw_filename = u"earlier.bin";
    ctx_.selectedRow = -1;
    EXPECT_FALSE(LoadSelectedSoftware(ctx_, panel_, db()));
    ctx_.selectedRow = panel_.ResultCount();
    EXPECT_FALSE(LoadSelectedSoftware(ctx_, panel_, db()));
    EXPECT_EQ(ctx_.softwareRecord.sw_filename, u"earlier.bin");
}

TEST_P(DatabaseOperationsTest, LoadSelectedSoftwareFindsAMakeLongerThanTheSearchLimit) {
    SearchAndSelect(u"ALL MAKES");
    int row = -1;
    for (int i = 0; i < panel_.ResultCount(); ++i) {
        if (panel_.results[static_cast<std::size_t>(i)].make == u"Mercedes-Benz Vans") {
            row = i;
        }
    }
    ASSERT_GE(row, 0);
    ctx_.selectedRow = row;
    ASSERT_TRUE(LoadSelectedSoftware(ctx_, panel_, db()));
    EXPECT_EQ(ctx_.softwareRecord.sw_id, 1560);
}

TEST_P(DatabaseOperationsTest, LoadSelectedSoftwareFindsAnEntryWithoutBuildNumberButNotBuildZero) {
    std::string withoutBuild;  // the fixture's Mazda CX-5 has sw_build NULL
    for (const FixtureEntry& e : Fixture().entries) {
        if (e.sw_id == 1564) {
            withoutBuild = e.sw_filename;
        }
    }
    const ScratchCatalogue& catalogue = UseScratch();
    catalogue.Exec(
        "INSERT INTO tolvanesw (mfg_id, sw_id, sw_build, sw_filename, sw_description, vehicle_make, "
        "vehicle_model, vehicle_year_from, vehicle_year_to, vehicle_transmission, sw_valid_status) VALUES "
        "('QD7720R', 1564, 0, 'build-zero.bin', 'Build zero', 'Mazda', 'CX-5', '2017', '2021', 3, 1)");
    // NULL first, then a blank in a text column (which MariaDB compares equal to 0).
    for (const char* emptied : {"", "UPDATE tolvanesw SET sw_build='' WHERE sw_build IS NULL"}) {
        SCOPED_TRACE(emptied);
        if (*emptied) {
            catalogue.MakeTextColumn("tolvanesw", "sw_build");
            catalogue.Exec(emptied);
        }
        SearchAndSelect(u"Mazda");
        int checked = 0;
        for (int row = 0; row < panel_.ResultCount(); ++row) {
            if (panel_.results[static_cast<std::size_t>(row)].model != u"CX-5") {
                continue;
            }
            ctx_.selectedRow = row;
            ASSERT_TRUE(LoadSelectedSoftware(ctx_, panel_, db()));
            const bool zero = panel_.results[static_cast<std::size_t>(row)].features == u"Build zero";
            EXPECT_EQ(ToUtf8(ctx_.softwareRecord.sw_filename), zero ? "build-zero.bin" : withoutBuild);
            ++checked;
        }
        EXPECT_EQ(checked, 2);
    }
}

TEST_P(DatabaseOperationsTest, HidBootloaderFollowsTheHardwareTable) {
    UseScratch();
    for (const FixtureHardware& hw : Fixture().hardware) {
        EXPECT_EQ(HasHidBootloader(FromUtf8(hw.mfg_id), db()), hw.hw_hid == 1) << hw.mfg_id;
    }
    EXPECT_FALSE(HasHidBootloader(u"QX0000R", db())) << "no row";
    scratch().Exec("UPDATE tolvanehw SET hw_hid=2 WHERE mfg_id='WE5581R'");
    scratch().Exec("UPDATE tolvanehw SET hw_hid=NULL WHERE mfg_id='WJ7731R'");
    EXPECT_FALSE(HasHidBootloader(u"WE5581R", db()));
    EXPECT_FALSE(HasHidBootloader(u"WJ7731R", db()));
    scratch().Exec("INSERT INTO tolvanehw (mfg_id, hw_hid) VALUES ('QD7720R', 0)");
    EXPECT_FALSE(HasHidBootloader(u"QD7720R", db())) << "the last row counts";
    scratch().Exec("INSERT INTO tolvanehw (mfg_id, hw_hid) VALUES ('TN7580R', 1)");
    EXPECT_TRUE(HasHidBootloader(u"TN7580R", db()));
}

TELVIX_BOTH_BACKENDS(DatabaseOperationsTest);

TEST(DatabaseOperationsOffline, NothingChangesWithoutAConnection) {
    UpdaterContext ctx;
    FakeClock clock;
    HarnessSearchPanel panel;
    panel.results.push_back(ResultRow{u"Ford", u"F-150", u"2012-2016", u"x"});
    const CatalogueDb db(UnreachableMariaDb(), 15);
    ctx.label_serial = u"kept";
    ctx.dbOperation = DB_OP_CURRENT_SOFTWARE;
    RunDatabaseOperation(ctx, db, clock);
    EXPECT_EQ(ctx.dbResult.load(), DB_FAILED);
    EXPECT_EQ(ctx.label_serial, u"kept");
    EXPECT_FALSE(HasHidBootloader(u"QD7720R", db));
    EXPECT_FALSE(LoadSelectedSoftware(ctx, panel, db));
    EXPECT_FALSE(LoadImageDetails(ctx, db));
}
