// The emulated interface's update-volume mode and the image header it reads its identity from.
#include <gtest/gtest.h>

#include <fstream>

#include "sim/FirmwareImage.h"
#include "sim/UpdateVolumeWatcher.h"
#include "tests/support/LinkRig.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::size_t count) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(count));
}

TEST(FirmwareImage, HeaderRoundTrip) {
    const auto image = MakeFirmwareImage("TN7580R", 513, 4, 10000);
    ASSERT_EQ(image.size(), 10000u);
    const auto header = ParseImageHeader(image);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->softwareId, 513);
    EXPECT_EQ(header->softwareBuild, 4);
    EXPECT_EQ(header->imageLength, 10000u);
    EXPECT_EQ(header->modelCode, "TN7580R");
    EXPECT_NE(MakeFirmwareImage("TN7580R", 514, 4, 10000), image);
    EXPECT_FALSE(ParseImageHeader(std::vector<std::uint8_t>(100, 0)));
    EXPECT_FALSE(ParseImageHeader(std::span(image).first(10)));
}

TEST(UpdateVolumeFirmware, CompleteFirmwareFileRestartsIntoTheNewSoftware) {
    LinkRigOptions options;
    options.mode = DeviceMode::UpdateVolume;
    LinkRig rig(options);
    UpdateVolumeWatcher watcher(rig.box, rig.telvix.flash);
    const auto image = MakeFirmwareImage("QD7720R", 77, 3, 9000);
    const auto file = rig.box.VolumeRoot() / "firmware.bin";

    WriteFile(file, image, 5000);
    EXPECT_FALSE(watcher.Poll()) << "a partial copy is not taken";
    EXPECT_EQ(rig.box.Mode(), DeviceMode::UpdateVolume);

    WriteFile(file, image, image.size());
    EXPECT_TRUE(watcher.Poll());
    EXPECT_EQ(rig.box.Mode(), DeviceMode::Application);
    EXPECT_EQ(rig.telvix.flash->Contents(), image);
    ASSERT_TRUE(rig.box.WaitUntilIdle());
    EXPECT_EQ(rig.telvix.application->Software().softwareId, 77);
    EXPECT_EQ(rig.telvix.application->StoredConfig().totalUpdates(),
              DefaultApplicationOptions("QD7720R").config.totalUpdates() + 1);
}

TEST(UpdateVolumeFirmware, WatcherThreadNoticesTheFile) {
    LinkRigOptions options;
    options.mode = DeviceMode::UpdateVolume;
    LinkRig rig(options);
    UpdateVolumeWatcher watcher(rig.box, rig.telvix.flash);
    watcher.Start(std::chrono::milliseconds(1));
    const auto image = MakeFirmwareImage("QD7720R", 78, 1, 5000);
    WriteFile(rig.box.VolumeRoot() / "firmware.bin", image, image.size());
    EXPECT_TRUE(WaitUntil([&] { return rig.box.Mode() == DeviceMode::Application; }));
    watcher.Stop();
}

}  // namespace
