#pragma once
// The image-server session on Windows: WinINet FTP in passive binary mode, or a file:// store read
// straight from the disk. The FTP connection is made at the first look-up or download and kept
// for the session's next call.
#include <string>

#include "retrieval/ImageServerSession.h"

class WinInetSession final : public ImageServerSession {
  public:
    WinInetSession(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts, const char* agent);
    ~WinInetSession() override;
    WinInetSession(const WinInetSession&) = delete;
    WinInetSession& operator=(const WinInetSession&) = delete;

    TransferOutcome Probe(const std::string& url, std::int64_t* size) override;
    TransferOutcome Receive(const std::string& url, const ByteReceiver& receiver) override;

  private:
    bool Connect();
    void Close();
    // After a silent server made the watch close the session's handles.
    void Abandon();
    std::chrono::milliseconds Stall() const;

    FtpEndpoint endpoint_;
    TransferTimeouts timeouts_;
    void* internet_ = nullptr;    // HINTERNET of the session
    void* connection_ = nullptr;  // HINTERNET of the FTP connection
};

// The file-system path or the server path a URL names, percent-decoded (UTF-8): "file://X" gives
// X, "ftp://host:port/X" gives "/X". Nothing for another kind of URL or a bad escape.
std::optional<std::string> UrlPath(const std::string& url);
