#pragma once
// Writes one file into a directory (the update volume's root) so that the file of that name never
// holds a part of the new content: the bytes go to a temporary file in the same directory, which
// is flushed to the device and then renamed to the target. A volume with room for one file of that
// size only takes the new one after RemoveTarget. A writer destroyed without Commit removes its
// temporary file. One thread at a time.
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

    // Deletes the file of the final name, if there is one, to free its room. False when it is
    // there and cannot be deleted.
    bool RemoveTarget();
    // Creates (or empties) the temporary file. False when the directory cannot be written.
    bool Open();
    // Appends bytes. False when they could not all be written (volume full, removed, ...).
    bool Write(std::span<const std::uint8_t> bytes);
    // Flushes the temporary file and renames it to the target (replacing one still there). False
    // when any step failed; the target is then as before and the temporary file removed.
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
