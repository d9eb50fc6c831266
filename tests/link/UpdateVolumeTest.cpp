// The update-volume scan: which volumes are taken, in which order, and how far the scan looks.
#include <gtest/gtest.h>

#include "tests/support/LinkBed.h"

namespace {
VolumeEntry Volume(const std::string& root, bool removable, std::u16string fileSystem, std::u16string label) {
    return VolumeEntry{root, removable, VolumeDetails{std::move(fileSystem), std::move(label)}};
}

TEST(UpdateVolume, OnlyARemovableVolumeNamedExactlyFatIsTaken) {
    LinkBed bed;
    bed.bus.AddVolume(Volume("/media/fixed/", false, u"FAT", u"QD7720R"));
    bed.bus.AddVolume(Volume("/media/stick32/", true, u"FAT32", u"QD7720R"));
    bed.bus.AddVolume(Volume("/media/lower/", true, u"fat", u"QD7720R"));
    bed.bus.AddVolume(VolumeEntry{"/media/unreadable/", true, std::nullopt});
    EXPECT_FALSE(bed.link.FindUpdateVolume());
    EXPECT_EQ(bed.ctx.volumeRoot, "/media/unreadable/");  // the last one tried

    bed.bus.AddVolume(Volume("/media/box/", true, u"FAT", u"WH7731R"));
    bed.bus.AddVolume(Volume("/media/second/", true, u"FAT", u"WE5581R"));
    EXPECT_TRUE(bed.link.FindUpdateVolume());
    EXPECT_EQ(bed.ctx.volumeRoot, "/media/box/");
    EXPECT_EQ(bed.ctx.mfg_id, u"WH7731R");
}

TEST(UpdateVolume, AtMostTwentyThreeVolumesAreLookedAt) {
    LinkBed bed;
    for (int i = 0; i < 22; ++i) {
        bed.bus.AddVolume(Volume("/media/v" + std::to_string(i) + "/", true, u"NTFS", u"DATA"));
    }
    bed.bus.AddVolume(Volume("/media/z/", true, u"NTFS", u"DATA"));       // the 23rd, standing for Z:
    bed.bus.AddVolume(Volume("/media/past/", true, u"FAT", u"QD7720R"));  // a 24th is never reached
    EXPECT_FALSE(bed.link.FindUpdateVolume());
    EXPECT_EQ(bed.ctx.volumeRoot, "/media/z/");
}

TEST(UpdateVolume, TheTwentyThirdVolumeIsStillTaken) {
    LinkBed bed;
    for (int i = 0; i < 22; ++i) {
        bed.bus.AddVolume(Volume("/media/v" + std::to_string(i) + "/", false, u"FAT", u"QD7720R"));
    }
    bed.bus.AddVolume(Volume("/media/last/", true, u"FAT", u"QD7720R"));
    EXPECT_TRUE(bed.link.FindUpdateVolume());
    EXPECT_EQ(bed.ctx.volumeRoot, "/media/last/");
}

TEST(UpdateVolume, ALongLabelIsCutToFifteenCharacters) {
    LinkBed bed;
    bed.bus.AddVolume(Volume("/media/odd/", true, u"FAT", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    EXPECT_TRUE(bed.link.FindUpdateVolume());
    EXPECT_EQ(bed.ctx.mfg_id, u"ABCDEFGHIJKLMNO");
}

TEST(UpdateVolume, AnInterfaceInUpdateModeIsFoundByConnectAndNoChannelIsOpened) {
    LinkBed bed;
    EmulatedInterface& box = bed.bus.PlugInterface("WJ7731R", DeviceMode::UpdateVolume);
    bed.bus.AddVolume(Volume("/media/stick32/", true, u"FAT32", u"BACKUP"));
    bed.Connect();
    EXPECT_EQ(bed.ctx.iUsbConnectSts.load(), USB_MASS_STORAGE);
    EXPECT_EQ(bed.ctx.mfg_id, u"WJ7731R");
    EXPECT_EQ(bed.ctx.volumeRoot, box.VolumeRoot().string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(box.VolumeRoot()));
    EXPECT_FALSE(bed.link.ChannelOpen());
}
}  // namespace
