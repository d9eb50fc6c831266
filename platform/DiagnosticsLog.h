#pragma once
// The diagnostics log that support reads when an install fails at a dealer's: one text file in the
// user's data folder, a line per event with its time, kept to a few MB by moving the full file
// aside (the previous part is kept once, the one before it dropped). Never given passwords or
// connection strings: callers pass only what is safe to show.
//
// Threading: Write may be called from any thread; lines are never interleaved.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

class DiagnosticsLog {
  public:
    // Without a file the log only counts lines (tests, and when the folder cannot be made).
    DiagnosticsLog() = default;
    explicit DiagnosticsLog(std::filesystem::path file, std::uintmax_t maxBytes = kDefaultMaxBytes);
    DiagnosticsLog(const DiagnosticsLog&) = delete;
    DiagnosticsLog& operator=(const DiagnosticsLog&) = delete;

    static constexpr std::uintmax_t kDefaultMaxBytes = 2 * 1024 * 1024;

    // Appends "<local time> [<topic>] <text>". Failures to write are ignored: the log must never
    // stop the program.
    void Write(std::string_view topic, std::string_view text);
    // Where the file is; empty when the log has none.
    const std::filesystem::path& File() const { return file_; }
    // Lines written since the start (also when there is no file).
    std::uint64_t LineCount() const;

  private:
    void RotateIfFull(std::uintmax_t incoming);

    std::filesystem::path file_;
    std::uintmax_t maxBytes_ = kDefaultMaxBytes;
    mutable std::mutex mutex_;
    std::uint64_t lines_ = 0;
};

// The log file's place in the user's data folder (UserDataDirectory()/updater.log).
std::filesystem::path DefaultDiagnosticsLogFile();
