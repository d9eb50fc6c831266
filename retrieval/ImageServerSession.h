#pragma once
// One connection to the image server (ftp:// in passive binary mode, or a file:// store) for one
// transfer: a look-up and then, on the same connection, a download. Opened and closed by the
// transfer that uses it, on that transfer's thread. One adapter per system (libcurl on Linux,
// WinINet on Windows); the transfers above it are the same on both.
#include <cstdint>
#include <functional>
#include <memory>
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

class ImageServerSession {
  public:
    virtual ~ImageServerSession() = default;

    // Whether url names an existing file, asked of the server without transferring the file.
    // On Ok, *size holds the file's size in bytes, or -1 when the server does not say.
    virtual TransferOutcome Probe(const std::string& url, std::int64_t* size) = 0;

    // Downloads url in binary mode, handing every piece to receiver.
    virtual TransferOutcome Receive(const std::string& url, const ByteReceiver& receiver) = 0;
};

// agent is the name the session introduces itself with ("CHECKFILE", "GETFILE").
std::unique_ptr<ImageServerSession> OpenImageServerSession(const FtpEndpoint& endpoint,
                                                           const TransferTimeouts& timeouts,
                                                           const char* agent);
