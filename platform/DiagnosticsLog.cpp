#include "platform/DiagnosticsLog.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/UserDataDirectory.h"

namespace {

std::string TimeStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm local = LocalTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis));
    return text;
}

}  // namespace

DiagnosticsLog::DiagnosticsLog(std::filesystem::path file, std::uintmax_t maxBytes)
    : file_(std::move(file)), maxBytes_(maxBytes) {
    std::error_code ignored;
    if (!file_.empty())
        std::filesystem::create_directories(file_.parent_path(), ignored);
}

void DiagnosticsLog::Write(std::string_view topic, std::string_view text) {
    std::string line = TimeStamp();
    line += " [";
    line += topic;
    line += "] ";
    line += text;
    line += '\n';
    std::lock_guard lock(mutex_);
    ++lines_;
    if (file_.empty())
        return;
    RotateIfFull(line.size());
    std::ofstream out(file_, std::ios::app | std::ios::binary);
    out << line;
}

std::uint64_t DiagnosticsLog::LineCount() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void DiagnosticsLog::RotateIfFull(std::uintmax_t incoming) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file_, error);
    if (error || size + incoming <= maxBytes_)
        return;
    std::filesystem::path previous = file_;
    previous += ".1";
    std::filesystem::remove(previous, error);
    std::filesystem::rename(file_, previous, error);
}

std::filesystem::path DefaultDiagnosticsLogFile() {
    const std::filesystem::path folder = UserDataDirectory();
    return folder.empty() ? std::filesystem::path() : folder / "updater.log";
}
