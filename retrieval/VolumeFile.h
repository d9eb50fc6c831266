#pragma once
// Writes one file into a directory (the update volume's root) so that the file of that name holds
// either what it held before or the complete new content, never a part: the bytes go to a
// temporary file in the same directory, which is flushed to the device and then renamed over the
// target. A writer destroyed without Commit removes its temporary file. One thread at a time.
#include <cstdint>
#include <span>
#include <string>

class VolumeFile {
  public:
    // directory ends in '/'; name is the file's final name ("firmware.bin").
    VolumeFile(std::string directory, const std::string& name);
    ~VolumeFile();
    VolumeFile(const VolumeFile&) = delete;
    VolumeFile& operator=(const VolumeFile&) = delete;

    // Creates (or empties) the temporary file. False when the directory cannot be written.
    bool Open();
    // Appends bytes. False when they could not all be written (volume full, removed, ...).
    bool Write(std::span<const std::uint8_t> bytes);
    // Flushes the temporary file and renames it over the target. False when any step failed; the
    // target is then unchanged and the temporary file removed.
    bool Commit();

    const std::string& TargetPath() const { return target_; }
    const std::string& TemporaryPath() const { return temporary_; }

  private:
    void Discard();

    std::string directory_;
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool failed_ = false;
};
