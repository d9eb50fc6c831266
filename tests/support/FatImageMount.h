#pragma once
// A FAT12 image the size of the interface's update volume (1440 KiB, label QD7720R), made by
// mkfs.fat and mounted read-write through FUSE (fusefat) while the object lives. This kernel has
// no vfat; FUSE is the way a test writes onto a real FAT file system.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/FtpTestServer.h"

class FatImageMount {
  public:
    FatImageMount();
    ~FatImageMount();
    FatImageMount(const FatImageMount&) = delete;
    FatImageMount& operator=(const FatImageMount&) = delete;

    // Why the tools failed (missing mkfs.fat or fusefat): the test fails. Empty when all was there.
    const std::string& Failure() const { return failure_; }
    // Why FUSE cannot be used on this machine (no /dev/fuse, mount refused): the test skips.
    const std::string& Unusable() const { return unusable_; }
    bool Mounted() const { return fusePid_ > 0; }

    // The mounted volume's root, ending in '/'.
    std::string Root() const { return mountPoint_.string() + "/"; }
    const std::filesystem::path& MountPoint() const { return mountPoint_; }

    // Unmounts and waits for fusefat to write everything and end. True when it ended cleanly.
    bool Unmount();

    // After Unmount, read from the image itself (mtools): the names in the root directory, in the
    // volume's own spelling, and one file's bytes.
    std::vector<std::string> RootNames() const;
    std::vector<std::uint8_t> ReadBack(const std::string& name) const;
    // After Unmount: fsck.fat -n's exit status and its output.
    int Check(std::string* report) const;

  private:
    ScratchDirectory scratch_;
    std::filesystem::path image_;
    std::filesystem::path mountPoint_;
    std::string failure_;
    std::string unusable_;
    pid_t fusePid_ = 0;
};
