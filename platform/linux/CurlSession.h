#pragma once
// One connection to the image server through libcurl (see retrieval/ImageServerSession.h). Needs
// the library started by the program (TransferLibrary.h); without it every call reports
// NoConnection.
#include "retrieval/ImageServerSession.h"

class CurlSession final : public ImageServerSession {
  public:
    // agent is the name the session introduces itself with ("CHECKFILE", "GETFILE").
    CurlSession(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts, const char* agent);
    ~CurlSession() override;
    CurlSession(const CurlSession&) = delete;
    CurlSession& operator=(const CurlSession&) = delete;

    // Whether url names an existing file, asked of the server without transferring the file: by
    // its size, or, from a server that does not tell sizes, by its directory's name listing.
    // On Ok, *size holds the file's size in bytes, or -1 when the server does not say.
    TransferOutcome Probe(const std::string& url, std::int64_t* size) override;

    // Downloads url in binary mode, handing every piece to receiver.
    TransferOutcome Receive(const std::string& url, const ByteReceiver& receiver) override;

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
