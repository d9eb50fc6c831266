#include "retrieval/VolumeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// "firmware.bin" -> "firmware.tmp": short enough for an 8.3 volume.
std::string TemporaryName(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".tmp";
}

}  // namespace

VolumeFile::VolumeFile(std::string directory, const std::string& name)
    : directory_(std::move(directory)),
      target_(directory_ + name),
      temporary_(directory_ + TemporaryName(name)) {}

VolumeFile::~VolumeFile() {
    Discard();
}

bool VolumeFile::RemoveTarget() {
    return ::unlink(target_.c_str()) == 0 || errno == ENOENT;
}

bool VolumeFile::Open() {
    Discard();
    failed_ = false;
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd_ >= 0;
}

bool VolumeFile::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || failed_) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed_ = true;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

bool VolumeFile::Commit() {
    if (fd_ < 0 || failed_) {
        Discard();
        return false;
    }
    const bool flushed = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!flushed || !closed || std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        ::unlink(temporary_.c_str());
        return false;
    }
    // Make the rename itself durable before the interface is told to take the file.
    const int directoryFd =
        ::open(directory_.empty() ? "." : directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
    return true;
}

void VolumeFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(temporary_.c_str());
    }
}
