#include "tests/app/EndToEndSupport.h"

#include "catalogue/InstallJournal.h"
#include "platform/Text.h"

void ExpectInstalled(HarnessProgram& harness, const HarnessEntry& entry, bool hid, int expectedTotalUpdates) {
    EXPECT_EQ(harness.State(), MS_IDLE);
    EXPECT_TRUE(harness.progress.finished);
    EXPECT_TRUE(harness.progress.succeeded);
    EXPECT_EQ(harness.progress.text, u"Software has been successfully installed");
    EXPECT_EQ(harness.progress.percent, 100);

    const std::vector<std::uint8_t> image = HarnessServers::ImageOf(entry);
    if (hid) {
        EXPECT_EQ(harness.telvix.flash->Contents(), PaddedToSectors(image));
        EXPECT_EQ(harness.telvix.bootloader->ProtocolViolations(), 0);
    } else {
        const std::vector<std::uint8_t> flash = harness.telvix.flash->Contents();
        ASSERT_GE(flash.size(), image.size());
        EXPECT_TRUE(std::equal(image.begin(), image.end(), flash.begin()));
    }
    const SoftwareIdentity identity = harness.telvix.application->Software();
    EXPECT_EQ(identity.softwareId, entry.swId);
    EXPECT_EQ(identity.softwareBuild, entry.swBuild);
    const StoredRecord stored = harness.telvix.application->StoredConfig();
    EXPECT_EQ(stored.vehicleMake(), entry.make);
    EXPECT_EQ(stored.vehicleModel(), entry.model);

    auto row = harness.servers.ReadDevice(harness.McuSerial());
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->swId, entry.swId);
    EXPECT_EQ(row->swBuild, entry.swBuild);
    EXPECT_EQ(row->make, entry.make);
    EXPECT_EQ(row->model, entry.model);
    EXPECT_EQ(row->updatedBy, 9);
    EXPECT_EQ(row->updateDate, "12/09/2026");  // the harness clock's date
    EXPECT_EQ(row->totalUpdates,
              expectedTotalUpdates >= 0 ? expectedTotalUpdates : harness.options.totalUpdates + 1);

    // The journal's newest install is this one, recorded, with the row's values.
    std::string why;
    const auto journal = InstallJournal::Read(harness.journalFile, why);
    ASSERT_TRUE(journal && !journal->empty()) << why;
    const JournalEntry& last = journal->front();
    EXPECT_TRUE(last.succeeded);
    EXPECT_EQ(last.outcome, u"Software has been successfully installed");
    EXPECT_EQ(last.recordState, RecordState::Recorded);
    EXPECT_EQ(last.install.sw_id, entry.swId);
    ASSERT_TRUE(last.record.has_value());
    EXPECT_EQ(last.record->total_updates, row->totalUpdates);
    EXPECT_EQ(last.record->mcu_serial, FromUtf8(harness.McuSerial()));

    EXPECT_EQ(harness.deviceArea.icon, ICON_USB_APPLICATION);
    EXPECT_EQ(harness.deviceArea.vehicleText,
              FromUtf8(entry.make + " " + entry.model + " " + entry.yearFrom + "-" + entry.yearTo));
    EXPECT_EQ(harness.deviceArea.featuresText, FromUtf8(entry.description));
    EXPECT_EQ(harness.deviceArea.statusText, FromUtf8(harness.options.labelSerial));
}

void ExpectAborted(HarnessProgram& harness, const std::vector<std::u16string>& errorTexts) {
    EXPECT_TRUE(harness.progress.finished);
    EXPECT_FALSE(harness.progress.succeeded);
    std::vector<std::u16string> texts = harness.progress.StepTexts();
    ASSERT_GE(texts.size(), errorTexts.size());
    for (std::size_t i = 0; i < errorTexts.size(); ++i)
        EXPECT_EQ(texts[i], errorTexts[i]);
    EXPECT_EQ(harness.progress.text, errorTexts.back());
    for (const auto& step : harness.progress.Steps()) {
        EXPECT_NE(step.first, u"Software has been successfully installed");
    }
}
