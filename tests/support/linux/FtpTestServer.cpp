#include "tests/support/FtpTestServer.h"

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::map<std::string, std::string> ReadExports(const std::filesystem::path& file) {
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    std::string line;
    const std::string prefix = "export ";
    while (std::getline(in, line)) {
        if (line.rfind(prefix, 0) != 0) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            values[line.substr(prefix.size(), equals - prefix.size())] = line.substr(equals + 1);
        }
    }
    return values;
}

FtpServerAccess AccessFrom(const std::map<std::string, std::string>& values) {
    FtpServerAccess access;
    access.endpoint.scheme = "ftp";
    access.endpoint.host = values.at("TELVIX_TEST_FTP_HOST");
    access.endpoint.port = static_cast<std::uint16_t>(std::stoi(values.at("TELVIX_TEST_FTP_PORT")));
    access.endpoint.user = values.at("TELVIX_TEST_FTP_USER");
    access.endpoint.password = values.at("TELVIX_TEST_FTP_PASSWORD");
    access.root = values.at("TELVIX_TEST_FTP_ROOT");
    return access;
}

}  // namespace

std::optional<FtpServerAccess> SharedFtpServer() {
    std::map<std::string, std::string> values;
    for (const char* name : {"TELVIX_TEST_FTP_HOST", "TELVIX_TEST_FTP_PORT", "TELVIX_TEST_FTP_USER",
                             "TELVIX_TEST_FTP_PASSWORD", "TELVIX_TEST_FTP_ROOT"}) {
        values[name] = Environment(name);
        if (values[name].empty()) {
            return std::nullopt;
        }
    }
    return AccessFrom(values);
}

PrivateFtpServer::PrivateFtpServer(std::uint32_t writeLimit, SizeCommand size) {
    char pattern[] = "/tmp/telvix-ftp.XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        return;
    }
    state_ = pattern;
    const std::string command = "TELVIX_FTP_WRITE_LIMIT=" + std::to_string(writeLimit) +
                                " TELVIX_FTP_REFUSE_SIZE=" + (size == SizeCommand::Refused ? "1" : "0") +
                                " " + TELVIX_SOURCE_DIR "/scripts/ftp-test-server start '" + state_.string() +
                                "'";
    if (std::system(command.c_str()) != 0) {
        return;
    }
    const auto values = ReadExports(state_ / "env");
    if (!values.contains("TELVIX_TEST_FTP_PID")) {
        return;
    }
    pid_ = static_cast<pid_t>(std::stol(values.at("TELVIX_TEST_FTP_PID")));
    access_ = AccessFrom(values);
}

PrivateFtpServer::~PrivateFtpServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
    if (!state_.empty()) {
        const std::string command =
            TELVIX_SOURCE_DIR "/scripts/ftp-test-server stop '" + state_.string() + "'";
        [[maybe_unused]] const int status = std::system(command.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(state_, ignored);
    }
}

void PrivateFtpServer::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
    }
}

void PrivateFtpServer::Pause() {
    if (pid_ > 0) {
        ::kill(pid_, SIGSTOP);
    }
}

void PrivateFtpServer::Resume() {
    if (pid_ > 0) {
        ::kill(pid_, SIGCONT);
    }
}

bool PrivateFtpServer::WaitForTransferStart() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::error_code error;
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(state_ / "ftp.transfers", error)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

ScratchDirectory::ScratchDirectory() {
    char pattern[] = "/tmp/telvix-volume.XXXXXX";
    if (::mkdtemp(pattern) != nullptr) {
        path_ = pattern;
    }
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> ImageBytes(std::size_t length, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(length);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string UniqueDirectoryName() {
    return "t" + std::to_string(::getpid());
}

FtpEndpoint ClosedPortEndpoint() {
    // Bind a port, then close it: nothing listens there afterwards.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    FtpEndpoint endpoint;
    endpoint.host = "127.0.0.1";
    endpoint.port = ntohs(address.sin_port);
    endpoint.user = "tvxupdate";
    endpoint.password = "t3stPa55";
    return endpoint;
}
