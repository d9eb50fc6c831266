// The install journal on its SQLite file, and the retry of the records it keeps pending against
// both catalogue back ends.
#include <gmock/gmock.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "CatalogueTestBase.h"
#include "catalogue/InstallJournal.h"
#include "catalogue/PendingRecordRetry.h"
#include "platform/DiagnosticsLog.h"
#include "platform/Text.h"
#include "tests/support/ScratchFolder.h"

namespace {

InstallStart StartOf(const std::u16string& serial) {
    InstallStart start;
    start.mfg_id = u"QD7720R";
    start.mcu_serial = serial;
    start.entry_id = 17;
    start.sw_id = 1561;
    start.sw_build = 1;
    start.vehicle_make = u"Land Rover's";
    start.vehicle_model = u"Defender";
    start.route = u"HID bootloader";
    return start;
}

InstallRecord RecordOf(const std::u16string& serial, std::int64_t totalUpdates, std::uint16_t swId = 1561) {
    InstallRecord record;
    record.sw_id = swId;
    record.sw_build = 2;
    record.vehicle_make = u"Land Rover's";
    record.vehicle_model = u"x'); DELETE FROM installs; --";
    record.update_date = u"03/07/2026";
    record.total_updates = totalUpdates;
    record.mcu_serial = serial;
    return record;
}

// One whole install in the journal: started, its record stored, ended.
std::int64_t JournalInstall(InstallJournal& journal, const InstallRecord& record, bool taken) {
    journal.BeginInstall(StartOf(record.mcu_serial));
    const std::int64_t id = journal.SaveRecord(record);
    if (taken)
        journal.MarkRecorded(id);
    journal.EndInstall(taken,
                       taken ? u"Software has been successfully installed" : u"ERROR: Can't update database");
    return id;
}

std::vector<JournalEntry> ReadAll(const std::filesystem::path& file) {
    std::string why;
    auto entries = InstallJournal::Read(file, why);
    EXPECT_TRUE(entries.has_value()) << why;
    return entries.value_or(std::vector<JournalEntry>{});
}

const char16_t kSerialA[] = u"0A0A0A0A-0A0A0A0A-0A0A0A0A-0A0A0A0A";
const char16_t kSerialB[] = u"0B0B0B0B-0B0B0B0B-0B0B0B0B-0B0B0B0B";

}  // namespace

TEST(InstallJournal, KeepsEachInstallFromItsStartToItsOutcomeNewestFirst) {
    ScratchFolder folder;
    const std::filesystem::path file = folder.Path() / "new-folder" / "journal.sqlite";
    DiagnosticsLog log;
    InstallJournal journal(file, &log);
    ASSERT_TRUE(journal.IsOpen());
    const std::int64_t first = JournalInstall(journal, RecordOf(kSerialA, 5), true);

    InstallStart unidentified = StartOf(u"");
    journal.BeginInstall(unidentified);
    const std::int64_t second = journal.SaveRecord(RecordOf(kSerialA, 6));
    EXPECT_GT(second, first);
    journal.EndInstall(false, u"ERROR: Device memory can't be verified");
    journal.EndInstall(false, u"ERROR: Update failed");  // a parked failure repeats: changes nothing
    EXPECT_EQ(journal.SaveRecord(RecordOf(kSerialA, 7)), 0) << "no install under way";

    const std::vector<JournalEntry> entries = ReadAll(file);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, second);
    EXPECT_EQ(entries[0].install.mcu_serial, u"");
    EXPECT_EQ(entries[0].recordState, RecordState::Pending);
    EXPECT_EQ(entries[0].record, RecordOf(kSerialA, 6));
    EXPECT_TRUE(entries[0].finished);
    EXPECT_FALSE(entries[0].succeeded);
    EXPECT_EQ(entries[0].outcome, u"ERROR: Device memory can't be verified");

    EXPECT_EQ(entries[1].recordState, RecordState::Recorded);
    EXPECT_EQ(entries[1].install.vehicle_make, u"Land Rover's");
    EXPECT_EQ(entries[1].install.route, u"HID bootloader");
    EXPECT_EQ(entries[1].install.entry_id, 17);
    EXPECT_TRUE(entries[1].succeeded);
    EXPECT_EQ(entries[1].started.size(), 19u);
    EXPECT_EQ(log.LineCount(), 0u);
}

TEST(InstallJournal, PendingRecordsAreOldestFirstWithoutTheInstallUnderWayOrOvertakenOnes) {
    ScratchFolder folder;
    InstallJournal journal(folder.Path() / "journal.sqlite", nullptr);
    ASSERT_TRUE(journal.IsOpen());
    const std::int64_t overtaken = JournalInstall(journal, RecordOf(kSerialA, 5), false);
    const std::int64_t waiting = JournalInstall(journal, RecordOf(kSerialB, 3), false);
    const std::int64_t second = JournalInstall(journal, RecordOf(kSerialB, 4), false);
    JournalInstall(journal, RecordOf(kSerialA, 6), true);
    journal.BeginInstall(StartOf(kSerialB));
    journal.SaveRecord(RecordOf(kSerialB, 5));  // under way: its own worker sends it

    using Pending = std::pair<std::int64_t, InstallRecord>;
    EXPECT_THAT(journal.PendingRecords(), ::testing::ElementsAre(Pending{waiting, RecordOf(kSerialB, 3)},
                                                                 Pending{second, RecordOf(kSerialB, 4)}));
    EXPECT_FALSE(journal.IsPending(overtaken));
    EXPECT_EQ(journal.Entries().back().recordState, RecordState::Superseded);
}

TEST(InstallJournal, UnusableFileIsLoggedAndInstallsGoOnWithoutIt) {
    ScratchFolder folder;
    std::ofstream(folder.Path() / "plain-file") << "a file where the folder should be";
    DiagnosticsLog log;
    InstallJournal journal(folder.Path() / "plain-file" / "journal.sqlite", &log);
    EXPECT_FALSE(journal.IsOpen());
    EXPECT_EQ(log.LineCount(), 1u);
    journal.BeginInstall(StartOf(kSerialA));
    EXPECT_EQ(journal.SaveRecord(RecordOf(kSerialA, 5)), 0);
    journal.EndInstall(true, u"Software has been successfully installed");
    EXPECT_TRUE(journal.PendingRecords().empty());

    std::string why;
    EXPECT_THAT(InstallJournal::Read(folder.Path() / "none-yet.sqlite", why),
                ::testing::Optional(::testing::IsEmpty()));
    std::ofstream(folder.Path() / "other.sqlite") << "not a database at all, just some text";
    EXPECT_FALSE(InstallJournal::Read(folder.Path() / "other.sqlite", why));
    EXPECT_FALSE(why.empty());
}

namespace {

class PendingRecordRetryTest : public CatalogueTest {
  protected:
    // The catalogue's row of the interface: sw_id, total_updates, vehicle_model.
    std::vector<std::string> Row(const std::u16string& serial) {
        std::vector<std::string> values;
        DbError error;
        auto connection = db().Open(OpenMode::ReadOnly, error);
        std::int32_t rows = 0;
        EXPECT_TRUE(connection && connection->Query(
                                      {u"SELECT * FROM tolvanedevice WHERE mcu_serial=?", {serial}},
                                      [&](const OdbcRow& row) {
                                          for (const char* c : {"sw_id", "total_updates", "vehicle_model"})
                                              values.push_back(ToUtf8(row.Text(c)));
                                      },
                                      rows, error));
        return values;
    }
    void Register(const std::u16string& serial) {
        scratch().Exec(
            "INSERT INTO tolvanedevice (mfg_id, mcu_serial, sw_id, sw_build, total_updates) VALUES "
            "('QD7720R', '" +
            ToUtf8(serial) + "', 1000, 1, 1)");
    }
};

}  // namespace

TEST_P(PendingRecordRetryTest, SendsWhatWasNotTakenOnceAndNeverAnOvertakenRecord) {
    UseScratch();
    Register(kSerialA);
    Register(kSerialB);
    ScratchFolder folder;
    DiagnosticsLog log;
    InstallJournal journal(folder.Path() / "journal.sqlite", &log);
    const std::int64_t lost = JournalInstall(journal, RecordOf(kSerialA, 5, 1561), false);
    JournalInstall(journal, RecordOf(kSerialB, 3, 1562), false);
    JournalInstall(journal, RecordOf(kSerialB, 4, 1563), true);  // newer, taken (values not sent here)
    JournalInstall(journal, RecordOf(u"0C0C0C0C-0C0C0C0C-0C0C0C0C-0C0C0C0C", 2), false);  // no such row

    {
        PendingRecordRetry retry(journal, db(), &log);
        retry.Request();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (retry.PassesRun() == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        ASSERT_EQ(retry.PassesRun(), 1);
    }
    EXPECT_EQ(Row(kSerialA), (std::vector<std::string>{"1561", "5", "x'); DELETE FROM installs; --"}));
    EXPECT_EQ(Row(kSerialB), (std::vector<std::string>{"1000", "1", ""}))
        << "the overtaken record is not sent";
    EXPECT_FALSE(journal.IsPending(lost));
    EXPECT_EQ(journal.PendingRecords().size(), 1u) << "the interface without a row stays pending";

    // Taken once, never sent again.
    scratch().Exec("UPDATE tolvanedevice SET total_updates=9 WHERE mcu_serial='" + ToUtf8(kSerialA) + "'");
    EXPECT_EQ(RetryPendingRecords(journal, db(), &log), 0);
    EXPECT_EQ(Row(kSerialA)[1], "9");
}

TELVIX_BOTH_BACKENDS(PendingRecordRetryTest);
