#pragma once
// The FTP servers the retrieval tests talk to: the shared one started by scripts/test-servers
// (its variables in the environment) and private ones a test starts, throttles, pauses or kills.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/EndpointSettings.h"

struct FtpServerAccess {
    FtpEndpoint endpoint;
    std::filesystem::path root;  // the directory the server serves
};

// The shared server, or nothing when the tests run without servers (TELVIX_TEST_FTP_HOST unset).
std::optional<FtpServerAccess> SharedFtpServer();

// Whether a private server answers the SIZE command or refuses it (502), as some servers do.
enum class SizeCommand { Answered, Refused };

// A server of its own, started through scripts/ftp-test-server; stopped when destroyed.
class PrivateFtpServer {
  public:
    // writeLimit throttles downloads to that many bytes per second (0: unlimited).
    explicit PrivateFtpServer(std::uint32_t writeLimit = 0, SizeCommand size = SizeCommand::Answered);
    ~PrivateFtpServer();
    PrivateFtpServer(const PrivateFtpServer&) = delete;
    PrivateFtpServer& operator=(const PrivateFtpServer&) = delete;

    bool Running() const { return access_.has_value(); }
    const FtpServerAccess& Access() const { return *access_; }
    void Kill();    // SIGKILL: connections drop at once
    void Pause();   // SIGSTOP: connections stay open and go silent
    void Resume();  // SIGCONT
    // Waits (at most 10 s) until the server has started sending a file; false on time-out.
    bool WaitForTransferStart() const;

  private:
    std::filesystem::path state_;
    std::optional<FtpServerAccess> access_;
    pid_t pid_ = 0;
};

// A directory of its own below /tmp, removed with everything in it when destroyed.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    // The path as a volume root: ending in '/'.
    std::string Root() const { return path_.string() + "/"; }

  private:
    std::filesystem::path path_;
};

// Deterministic image bytes: the same seed and length always give the same content.
std::vector<std::uint8_t> ImageBytes(std::size_t length, std::uint32_t seed = 1);

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path);

// A name for this process's files in a shared served root, so parallel test runs never meet.
std::string UniqueDirectoryName();

// An endpoint on a loopback port where nothing listens.
FtpEndpoint ClosedPortEndpoint();
