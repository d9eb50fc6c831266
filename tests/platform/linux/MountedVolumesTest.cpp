// The Linux volume scan over a mount table and sysfs tree laid out by the test, with real FAT12,
// FAT16 and FAT32 images made by mkfs.fat standing for the block devices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/UpdaterContext.h"
#include "link/DeviceLink.h"
#include "platform/linux/MountedVolumes.h"
#include "sim/EmulatedHidBus.h"
#include "tests/support/FakeClock.h"

namespace fs = std::filesystem;

namespace {
void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

bool MakeFat(const fs::path& image, int bits, const std::string& label, int kilobytes) {
    const std::string command = "PATH=\"$PATH:/usr/sbin:/sbin\" mkfs.fat -C -F " + std::to_string(bits) +
                                " -n " + label + " '" + image.string() + "' " + std::to_string(kilobytes) +
                                " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

class MountedVolumesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("telvix-volumes-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        ASSERT_TRUE(MakeFat(root_ / "fat12.img", 12, "WE5540R", 1440));
        ASSERT_TRUE(MakeFat(root_ / "fat16.img", 16, "QD7720R", 16384));
        ASSERT_TRUE(MakeFat(root_ / "fat32.img", 32, "TN7931R", 65536));
        ASSERT_TRUE(MakeFat(root_ / "fixed.img", 16, "WH7731R", 16384));

        const fs::path sys = root_ / "sys";
        Disk(sys, "sda", "0", "sda1", "8:1");   // the fixed disk, partitioned
        Disk(sys, "sdb", "1", "sdb1", "8:17");  // a stick, partitioned
        Disk(sys, "sdc", "1", "", "8:32");      // a stick without partition table
        Disk(sys, "sdd", "1", "", "8:48");      // a floppy-sized card
        Disk(sys, "sde", "1", "", "8:64");      // a stick whose file system cannot be probed
        mountinfo_ = root_ / "mountinfo";
        const std::string r = root_.string() + "/";
        WriteFile(mountinfo_, "22 1 8:1 / /media/fixed rw,relatime - vfat " + r +
                                  "fixed.img rw\n"
                                  "23 1 0:5 / /proc rw,nosuid - proc proc rw\n"
                                  "24 1 8:17 / /media/usb\\040stick rw,relatime shared:1 master:2 - vfat " +
                                  r +
                                  "fat16.img rw\n"
                                  "25 1 8:32 / /media/a32 rw - vfat " +
                                  r +
                                  "fat32.img rw\n"
                                  "26 1 8:48 / /media/z12 rw - vfat " +
                                  r +
                                  "fat12.img rw\n"
                                  "27 1 8:17 /sub /media/bind rw - vfat " +
                                  r +
                                  "fat16.img rw\n"
                                  "28 1 8:64 / /media/m-empty rw - vfat " +
                                  r +
                                  "missing.img rw\n"
                                  "29 1 0:44 / /tmp rw - tmpfs tmpfs rw\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    // sys/devices/<disk>[/<partition>] with the removable flag, and sys/dev/block/<number> -> it.
    static void Disk(const fs::path& sys, const std::string& disk, const std::string& removable,
                     const std::string& partition, const std::string& number) {
        WriteFile(sys / "devices" / disk / "removable", removable + "\n");
        fs::path target = fs::path("../../devices") / disk;
        if (!partition.empty()) {
            WriteFile(sys / "devices" / disk / partition / "partition", "1\n");
            target /= partition;
        }
        fs::create_directories(sys / "dev" / "block");
        fs::create_directory_symlink(target, sys / "dev" / "block" / number);
    }

    fs::path root_;
    fs::path mountinfo_;
};

TEST_F(MountedVolumesTest, ListsBlockVolumesByMountPointWithRemovableFlagAndFatNames) {
    MountedVolumes volumes(mountinfo_.string(), (root_ / "sys").string());
    const std::vector<VolumeEntry> list = volumes.ListVolumes();
    ASSERT_EQ(list.size(), 5u);

    EXPECT_EQ(list[0].rootPath, "/media/a32/");
    EXPECT_TRUE(list[0].removable);
    ASSERT_TRUE(list[0].details);
    EXPECT_EQ(list[0].details->fileSystemName, u"FAT32");
    EXPECT_EQ(list[0].details->label, u"TN7931R");

    EXPECT_EQ(list[1].rootPath, "/media/fixed/");
    EXPECT_FALSE(list[1].removable);

    EXPECT_EQ(list[2].rootPath, "/media/m-empty/");
    EXPECT_TRUE(list[2].removable);
    EXPECT_FALSE(list[2].details);

    EXPECT_EQ(list[3].rootPath, "/media/usb stick/");
    EXPECT_TRUE(list[3].removable);  // from the disk above the partition
    ASSERT_TRUE(list[3].details);
    EXPECT_EQ(list[3].details->fileSystemName, u"FAT");
    EXPECT_EQ(list[3].details->label, u"QD7720R");

    EXPECT_EQ(list[4].rootPath, "/media/z12/");
    ASSERT_TRUE(list[4].details);
    EXPECT_EQ(list[4].details->fileSystemName, u"FAT");
    EXPECT_EQ(list[4].details->label, u"WE5540R");
}

TEST_F(MountedVolumesTest, TheLinkTakesTheFirstRemovableFatVolumeAndSkipsFat32AndFixedDisks) {
    MountedVolumes volumes(mountinfo_.string(), (root_ / "sys").string());
    UpdaterContext ctx;
    EmulatedHidBus bus;
    FakeClock clock;
    DeviceLink link(ctx, bus.Hid(), bus.Notifications(), volumes, clock);
    ASSERT_TRUE(link.FindUpdateVolume());
    EXPECT_EQ(ctx.volumeRoot, "/media/usb stick/");
    EXPECT_EQ(ctx.mfg_id, u"QD7720R");
}

TEST_F(MountedVolumesTest, AMissingMountTableListsNothing) {
    MountedVolumes volumes((root_ / "none").string(), (root_ / "sys").string());
    EXPECT_TRUE(volumes.ListVolumes().empty());
}

TEST(MountInfo, ParsesOptionalFieldsAndEscapes) {
    MountInfoLine line;
    ASSERT_TRUE(
        ParseMountInfoLine("36 35 98:0 /mnt1 /mnt/my\\040disk rw,noatime master:1 shared:7 - ext3 "
                           "/dev/root rw,errors=continue",
                           line));
    EXPECT_EQ(line.deviceNumber, "98:0");
    EXPECT_EQ(line.root, "/mnt1");
    EXPECT_EQ(line.mountPoint, "/mnt/my disk");
    EXPECT_EQ(line.fileSystemType, "ext3");
    EXPECT_EQ(line.source, "/dev/root");
    EXPECT_FALSE(ParseMountInfoLine("36 35 98:0 /mnt1 /mnt2 rw master:1 ext3 /dev/root", line));
    EXPECT_FALSE(ParseMountInfoLine("garbage", line));
    ASSERT_TRUE(ParseMountInfoLine("1 1 8:1 / /x\\134y\\ rw - vfat /dev/sdb1 rw", line));
    EXPECT_EQ(line.mountPoint, "/x\\y\\");  // \134 is a backslash; a trailing lone one stays
}

TEST(MountInfo, FileSystemNamesFollowTheWindowsVolumeQuery) {
    EXPECT_EQ(FileSystemName("vfat", "FAT12"), u"FAT");
    EXPECT_EQ(FileSystemName("vfat", "FAT16"), u"FAT");
    EXPECT_EQ(FileSystemName("vfat", "FAT32"), u"FAT32");
    EXPECT_EQ(FileSystemName("exfat", "1.0"), u"exFAT");
    EXPECT_EQ(FileSystemName("ntfs", ""), u"NTFS");
    EXPECT_EQ(FileSystemName("ext4", "1.0"), u"ext4");
}
}  // namespace
