#include "platform/win32/WinInetSession.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/Utf8Path.h"
#include "platform/win32/WideText.h"

namespace {

constexpr std::size_t kPieceBytes = 64 * 1024;

HINTERNET Internet(void* handle) {
    return static_cast<HINTERNET>(handle);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> PercentDecode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return std::nullopt;
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

bool IsFileUrl(const std::string& url) {
    return url.starts_with("file://");
}

std::wstring LastResponse() {
    DWORD code = 0;
    wchar_t text[512];
    DWORD length = sizeof text / sizeof text[0];
    if (!InternetGetLastResponseInfoW(&code, text, &length))
        return {};
    return std::wstring(text, std::min<DWORD>(length, sizeof text / sizeof text[0]));
}

// Whether the last WinINet failure was the server refusing the file (550 and the like) rather
// than a connection that broke or never came.
bool ServerSaidNo(DWORD error) {
    if (error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return true;
    const std::wstring response = LastResponse();
    if (error == ERROR_INTERNET_EXTENDED_ERROR)
        return response.find(L"550") != std::wstring::npos;
    // wine ends a listing that holds no such file without an error code: the server answered
    // the listing (2xx) and the file was not in it.
    return error == ERROR_SUCCESS && response.starts_with(L"2");
}

TransferOutcome ProbeFile(const std::string& path, std::int64_t* size) {
    std::error_code error;
    const std::filesystem::path file = PathFromUtf8(path);
    if (!std::filesystem::is_regular_file(file, error))
        return TransferOutcome::NotFound;
    const auto length = std::filesystem::file_size(file, error);
    *size = error ? -1 : static_cast<std::int64_t>(length);
    return TransferOutcome::Ok;
}

TransferOutcome ReceiveFile(const std::string& path, const ByteReceiver& receiver) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in)
        return TransferOutcome::NotFound;
    std::array<std::uint8_t, kPieceBytes> piece;
    for (;;) {
        in.read(reinterpret_cast<char*>(piece.data()), piece.size());
        const auto count = static_cast<std::size_t>(in.gcount());
        if (count > 0 && !receiver(std::span(piece.data(), count)))
            return TransferOutcome::Stopped;
        if (in.eof())
            return TransferOutcome::Ok;
        if (!in)
            return TransferOutcome::Broken;
    }
}

// Ends the session's blocking WinINet calls when the server stays silent for longer than the
// limit: WinINet's own time-outs do not bound every wait (wine's FTP greeting and login wait
// without limit), and closing the session's root handle ends the calls in progress on it.
class SilenceWatch {
  public:
    SilenceWatch(HINTERNET session, std::chrono::milliseconds limit)
        : session_(session), limit_(limit), thread_([this] { Run(); }) {}
    ~SilenceWatch() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    // The server has just been heard from: the limit starts again.
    void Heard() {
        std::lock_guard lock(mutex_);
        ++heard_;
        changed_.notify_all();
    }
    bool Expired() const {
        std::lock_guard lock(mutex_);
        return expired_;
    }

  private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            const std::uint64_t seen = heard_;
            if (changed_.wait_for(lock, limit_, [&] { return done_ || heard_ != seen; })) {
                if (done_)
                    return;
                continue;
            }
            expired_ = true;
            InternetCloseHandle(session_);
            return;
        }
    }

    HINTERNET session_;
    std::chrono::milliseconds limit_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t heard_ = 0;
    bool done_ = false;
    bool expired_ = false;
    std::thread thread_;
};

}  // namespace

std::optional<std::string> UrlPath(const std::string& url) {
    if (IsFileUrl(url)) {
        std::optional<std::string> path = PercentDecode(std::string_view(url).substr(7));
        // "file:///C:/images/a.bin" names C:/images/a.bin.
        if (path && path->size() > 2 && (*path)[0] == '/' && (*path)[2] == ':')
            path->erase(0, 1);
        return path;
    }
    if (!url.starts_with("ftp://"))
        return std::nullopt;
    const std::size_t slash = url.find('/', 6);
    if (slash == std::string::npos)
        return std::nullopt;
    return PercentDecode(std::string_view(url).substr(slash));
}

WinInetSession::WinInetSession(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts,
                               const char* agent)
    : endpoint_(endpoint), timeouts_(timeouts) {
    if (endpoint_.scheme == "file")
        return;
    HINTERNET internet =
        InternetOpenW(WideFromUtf8(agent).c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    internet_ = internet;
    if (internet == nullptr)
        return;
    // Bounds on every wait, so a dead or silent server ends the transfer as a failure.
    DWORD connectMs = static_cast<DWORD>(timeouts_.connect.count());
    DWORD stallMs = static_cast<DWORD>(std::chrono::milliseconds(timeouts_.stall).count());
    InternetSetOptionW(internet, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionW(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, &stallMs, sizeof stallMs);
    InternetSetOptionW(internet, INTERNET_OPTION_SEND_TIMEOUT, &stallMs, sizeof stallMs);
    InternetSetOptionW(internet, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, &stallMs, sizeof stallMs);
    InternetSetOptionW(internet, INTERNET_OPTION_DATA_SEND_TIMEOUT, &stallMs, sizeof stallMs);
}

WinInetSession::~WinInetSession() {
    Close();
    if (internet_ != nullptr)
        InternetCloseHandle(Internet(internet_));
}

std::chrono::milliseconds WinInetSession::Stall() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(timeouts_.stall);
}

void WinInetSession::Abandon() {
    // The watch closed the root handle, and with it every handle below it.
    internet_ = nullptr;
    connection_ = nullptr;
}

void WinInetSession::Close() {
    if (connection_ != nullptr) {
        InternetCloseHandle(Internet(connection_));
        connection_ = nullptr;
    }
}

bool WinInetSession::Connect() {
    if (connection_ != nullptr)
        return true;
    if (internet_ == nullptr)
        return false;
    // WinINet logs in to an FTP server here, on the control connection; data connections are
    // passive.
    SilenceWatch watch(Internet(internet_), timeouts_.connect);
    connection_ =
        InternetConnectW(Internet(internet_), WideFromUtf8(endpoint_.host).c_str(),
                         static_cast<INTERNET_PORT>(endpoint_.port == 0 ? 21 : endpoint_.port),
                         WideFromUtf8(endpoint_.user).c_str(), WideFromUtf8(endpoint_.password).c_str(),
                         INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    if (watch.Expired())
        Abandon();
    return connection_ != nullptr;
}

TransferOutcome WinInetSession::Probe(const std::string& url, std::int64_t* size) {
    *size = -1;
    const std::optional<std::string> path = UrlPath(url);
    if (!path)
        return TransferOutcome::NotFound;
    if (IsFileUrl(url))
        return ProbeFile(*path, size);
    if (!Connect())
        return TransferOutcome::NoConnection;
    WIN32_FIND_DATAW found{};
    HINTERNET find = nullptr;
    DWORD error = ERROR_SUCCESS;
    {
        SilenceWatch watch(Internet(internet_), Stall());
        find = FtpFindFirstFileW(Internet(connection_), WideFromUtf8(*path).c_str(), &found,
                                 INTERNET_FLAG_RELOAD, 0);
        error = GetLastError();  // before the watch's end touches it
        if (watch.Expired()) {
            Abandon();
            return TransferOutcome::NoConnection;
        }
    }
    if (find == nullptr) {
        if (ServerSaidNo(error))
            return TransferOutcome::NotFound;
        Close();
        return TransferOutcome::NoConnection;
    }
    InternetCloseHandle(find);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return TransferOutcome::NotFound;
    *size = static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) |
                                      found.nFileSizeLow);
    return TransferOutcome::Ok;
}

TransferOutcome WinInetSession::Receive(const std::string& url, const ByteReceiver& receiver) {
    const std::optional<std::string> path = UrlPath(url);
    if (!path)
        return TransferOutcome::NotFound;
    if (IsFileUrl(url))
        return ReceiveFile(*path, receiver);
    if (!Connect())
        return TransferOutcome::NoConnection;
    SilenceWatch watch(Internet(internet_), Stall());
    HINTERNET file = FtpOpenFileW(Internet(connection_), WideFromUtf8(*path).c_str(), GENERIC_READ,
                                  FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
    const DWORD openError = GetLastError();
    if (watch.Expired()) {
        Abandon();
        return TransferOutcome::NoConnection;
    }
    if (file == nullptr) {
        if (ServerSaidNo(openError))
            return TransferOutcome::NotFound;
        Close();
        return TransferOutcome::NoConnection;
    }
    std::array<std::uint8_t, kPieceBytes> piece;
    TransferOutcome outcome = TransferOutcome::Ok;
    for (;;) {
        DWORD count = 0;
        if (!InternetReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &count) ||
            watch.Expired()) {
            outcome = TransferOutcome::Broken;
            break;
        }
        watch.Heard();
        if (count == 0)
            break;
        if (!receiver(std::span(piece.data(), count))) {
            outcome = TransferOutcome::Stopped;
            break;
        }
    }
    if (watch.Expired()) {
        Abandon();
        return outcome;
    }
    InternetCloseHandle(file);
    if (outcome != TransferOutcome::Ok)
        Close();  // the control connection may still be busy with the aborted transfer
    return outcome;
}

std::unique_ptr<ImageServerSession> OpenImageServerSession(const FtpEndpoint& endpoint,
                                                           const TransferTimeouts& timeouts,
                                                           const char* agent) {
    return std::make_unique<WinInetSession>(endpoint, timeouts, agent);
}
