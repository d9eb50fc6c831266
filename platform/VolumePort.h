#pragma once
// The mounted volumes in the order the update-volume scan looks at them (standing for the drive
// letters D to Z). The real adapter is MountedVolumes (mountinfo, sysfs, libblkid).
#include <optional>
#include <string>
#include <vector>

struct VolumeDetails {
    std::u16string fileSystemName;  // "FAT" for FAT12/FAT16, "FAT32", "NTFS", "exFAT", ...
    std::u16string label;
};

struct VolumeEntry {
    std::string rootPath;  // ends in '/'
    bool removable = false;
    std::optional<VolumeDetails> details;  // nothing when the volume information cannot be read
};

class VolumePort {
  public:
    virtual ~VolumePort() = default;
    virtual std::vector<VolumeEntry> ListVolumes() = 0;
};
