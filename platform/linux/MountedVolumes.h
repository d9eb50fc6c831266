#pragma once
// The volume scan on Linux: block-device file systems from the mount table, in the order of their
// mount points, each marked removable from sysfs and, when removable, probed with libblkid for
// its file system and label. FAT12 and FAT16 are named "FAT", FAT32 "FAT32", as a Windows volume
// query names them. The paths of the mount table and of sysfs are injectable for tests.
#include <optional>
#include <string>

#include "platform/VolumePort.h"

class MountedVolumes final : public VolumePort {
  public:
    explicit MountedVolumes(std::string mountinfoPath = "/proc/self/mountinfo",
                            std::string sysfsRoot = "/sys");
    std::vector<VolumeEntry> ListVolumes() override;

  private:
    std::string mountinfoPath_;
    std::string sysfsRoot_;
};

// One line of a mount table in /proc/self/mountinfo format.
struct MountInfoLine {
    std::string deviceNumber;  // "major:minor"
    std::string root;          // the directory of the file system mounted there
    std::string mountPoint;    // with the octal escapes (\040 for a blank) decoded
    std::string fileSystemType;
    std::string source;
};
bool ParseMountInfoLine(const std::string& line, MountInfoLine& parsed);

// The Windows-style file-system name for a libblkid TYPE and VERSION.
std::u16string FileSystemName(const std::string& type, const std::string& version);

// File system and label of the file system in `device` (a block device or an image file).
std::optional<VolumeDetails> ProbeVolume(const std::string& device);
