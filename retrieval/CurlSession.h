#pragma once
// One connection to the image server (ftp:// in passive binary mode, or a file:// store) through
// libcurl, for one transfer: a look-up and then, on the same connection, a download. Opened and
// closed by the transfer that uses it, on that transfer's thread. Needs the library started by
// the program (TransferLibrary.h); without it every call reports NoConnection.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "catalogue/EndpointSettings.h"
#include "retrieval/TransferFields.h"

enum class TransferOutcome {
    Ok,
    NoConnection,  // server unreachable or silent, login refused, no data connection
    NotFound,      // no such file (or directory on the way to it)
    Broken,        // the transfer started and then failed or stalled
    Stopped,       // the receiver asked to stop
};

// Receives the bytes of a download in order; returns false to stop the transfer.
using ByteReceiver = std::function<bool(std::span<const std::uint8_t>)>;

class CurlSession {
  public:
    // agent is the name the session introduces itself with ("CHECKFILE", "GETFILE").
    CurlSession(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts, const char* agent);
    ~CurlSession();
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // Whether url names an existing file, asked of the server without transferring the file: by
    // its size, or, from a server that does not tell sizes, by its directory's name listing.
    // On Ok, *size holds the file's size in bytes, or -1 when the server does not say.
    TransferOutcome Probe(const std::string& url, std::int64_t* size);

    // Downloads url in binary mode, handing every piece to receiver.
    TransferOutcome Receive(const std::string& url, const ByteReceiver& receiver);

  private:
    TransferOutcome Perform(bool bytesExpected);
    TransferOutcome LookUp(const std::string& url);
    TransferOutcome ConfirmListed(const std::string& url);

    void* handle_ = nullptr;  // CURL*
    bool fileStore_ = false;
    const ByteReceiver* receiver_ = nullptr;
    bool receiverStopped_ = false;
    std::uint64_t bytesReceived_ = 0;
    char errorText_[1024] = {};  // the library's own error text, kept for a debugger only

    static std::size_t OnData(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t Discard(char* data, std::size_t size, std::size_t count, void* self);
};
