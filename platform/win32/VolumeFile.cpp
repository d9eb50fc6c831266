// The update volume's file through the C runtime's wide-character file calls: the bytes go to
// the temporary file, _commit flushes it to the device, and MoveFileExW replaces the target with
// it in one step (write-through, so the rename is on the device before it returns).
#include "retrieval/VolumeFile.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>

#include "platform/win32/WideText.h"

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
    return DeleteFileW(WideFromUtf8(target_).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool VolumeFile::Open() {
    Discard();
    failed_ = false;
    fd_ = _wopen(WideFromUtf8(temporary_).c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
    return fd_ >= 0;
}

bool VolumeFile::Write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || failed_) {
        return false;
    }
    while (!bytes.empty()) {
        const unsigned int piece = static_cast<unsigned int>(std::min<std::size_t>(bytes.size(), 1u << 20));
        const int written = _write(fd_, bytes.data(), piece);
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
    const bool flushed = _commit(fd_) == 0;
    const bool closed = _close(fd_) == 0;
    fd_ = -1;
    const std::wstring temporary = WideFromUtf8(temporary_);
    if (!flushed || !closed ||
        !MoveFileExW(temporary.c_str(), WideFromUtf8(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        _wunlink(temporary.c_str());
        return false;
    }
    return true;
}

void VolumeFile::Discard() {
    if (fd_ >= 0) {
        _close(fd_);
        fd_ = -1;
        _wunlink(WideFromUtf8(temporary_).c_str());
    }
}
