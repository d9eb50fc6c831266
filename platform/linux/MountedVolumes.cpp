#include "platform/linux/MountedVolumes.h"

#include <blkid.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Text.h"

namespace fs = std::filesystem;

namespace {
std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::string ReadFirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

// Whether the disk behind a block device number is removable; nothing when it is no block device.
std::optional<bool> IsRemovable(const fs::path& sysfsRoot, const std::string& deviceNumber) {
    std::error_code error;
    const fs::path device = fs::canonical(sysfsRoot / "dev" / "block" / deviceNumber, error);
    if (error) {
        return std::nullopt;
    }
    const fs::path disk = fs::exists(device / "partition", error) ? device.parent_path() : device;
    return ReadFirstLine(disk / "removable") == "1";
}

std::string LookUp(blkid_probe probe, const char* name) {
    const char* value = nullptr;
    if (blkid_probe_lookup_value(probe, name, &value, nullptr) != 0 || value == nullptr) {
        return {};
    }
    return value;
}
}  // namespace

bool ParseMountInfoLine(const std::string& line, MountInfoLine& parsed) {
    std::istringstream in(line);
    std::string mountId, parentId, options, field;
    if (!(in >> mountId >> parentId >> parsed.deviceNumber >> parsed.root >> parsed.mountPoint >> options)) {
        return false;
    }
    // Optional fields end with a lone "-"; then type, source and super options.
    while (in >> field && field != "-") {
    }
    if (field != "-" || !(in >> parsed.fileSystemType >> parsed.source)) {
        return false;
    }
    parsed.root = Unescape(parsed.root);
    parsed.mountPoint = Unescape(parsed.mountPoint);
    parsed.source = Unescape(parsed.source);
    return true;
}

std::u16string FileSystemName(const std::string& type, const std::string& version) {
    if (type == "vfat" || type == "msdos") {
        return version == "FAT32" ? u"FAT32" : u"FAT";
    }
    if (type == "exfat") {
        return u"exFAT";
    }
    if (type == "ntfs" || type == "ntfs3") {
        return u"NTFS";
    }
    return FromUtf8(type);
}

std::optional<VolumeDetails> ProbeVolume(const std::string& device) {
    blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
    if (probe == nullptr) {
        return std::nullopt;
    }
    blkid_probe_enable_superblocks(probe, 1);
    blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_TYPE | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_VERSION);
    std::optional<VolumeDetails> details;
    if (blkid_do_safeprobe(probe) == 0) {
        const std::string type = LookUp(probe, "TYPE");
        if (!type.empty()) {
            details = VolumeDetails{FileSystemName(type, LookUp(probe, "VERSION")),
                                    FromUtf8(LookUp(probe, "LABEL"))};
        }
    }
    blkid_free_probe(probe);
    return details;
}

MountedVolumes::MountedVolumes(std::string mountinfoPath, std::string sysfsRoot)
    : mountinfoPath_(std::move(mountinfoPath)), sysfsRoot_(std::move(sysfsRoot)) {}

std::vector<VolumeEntry> MountedVolumes::ListVolumes() {
    std::vector<MountInfoLine> mounts;
    std::ifstream in(mountinfoPath_);
    for (std::string line; std::getline(in, line);) {
        MountInfoLine parsed;
        // Bind mounts of a directory inside a file system are not volumes of their own.
        if (ParseMountInfoLine(line, parsed) && parsed.root == "/") {
            mounts.push_back(std::move(parsed));
        }
    }
    std::stable_sort(mounts.begin(), mounts.end(), [](const MountInfoLine& a, const MountInfoLine& b) {
        return a.mountPoint < b.mountPoint;
    });

    std::vector<VolumeEntry> volumes;
    for (const MountInfoLine& mount : mounts) {
        const std::optional<bool> removable = IsRemovable(sysfsRoot_, mount.deviceNumber);
        if (!removable) {
            continue;  // proc, tmpfs and other file systems without a block device
        }
        VolumeEntry entry;
        entry.rootPath = mount.mountPoint.ends_with('/') ? mount.mountPoint : mount.mountPoint + "/";
        entry.removable = *removable;
        if (entry.removable) {
            entry.details = ProbeVolume(mount.source);
        }
        volumes.push_back(std::move(entry));
    }
    return volumes;
}
