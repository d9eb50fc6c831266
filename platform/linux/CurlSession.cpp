#include "platform/linux/CurlSession.h"

#include <curl/curl.h>

#include "platform/NameListing.h"
#include "retrieval/TransferLibrary.h"

namespace {

CURL* Easy(void* handle) {
    return static_cast<CURL*>(handle);
}

bool MeansNotFound(CURLcode code) {
    // A missing file answers 78; a missing directory on the way answers 9 (the CWD is refused);
    // a missing file of a file:// store answers 37.
    return code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_REMOTE_ACCESS_DENIED ||
           code == CURLE_FILE_COULDNT_READ_FILE || code == CURLE_URL_MALFORMAT;
}

bool MeansBrokenTransfer(CURLcode code) {
    return code == CURLE_PARTIAL_FILE || code == CURLE_WRITE_ERROR || code == CURLE_READ_ERROR ||
           code == CURLE_ABORTED_BY_CALLBACK || code == CURLE_FILESIZE_EXCEEDED;
}

}  // namespace

CurlSession::CurlSession(const FtpEndpoint& endpoint, const TransferTimeouts& timeouts, const char* agent) {
    // libcurl starts itself inside curl_easy_init when the program has not started it, which is
    // unsafe once other threads run: without the program's start-up call there is no session.
    if (!TransfersInitialised()) {
        return;
    }
    CURL* curl = curl_easy_init();
    handle_ = curl;
    if (curl == nullptr) {
        return;
    }
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText_);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp,file");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    fileStore_ = endpoint.scheme == "file";
    if (!fileStore_) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, endpoint.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, endpoint.password.c_str());
    }
    // Passive data connections (no CURLOPT_FTPPORT) in binary mode (TYPE I).
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(timeouts.stall.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(timeouts.stall.count()));
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CurlSession::Discard);
}

CurlSession::~CurlSession() {
    if (handle_ != nullptr) {
        curl_easy_cleanup(Easy(handle_));
    }
}

std::size_t CurlSession::Discard(char*, std::size_t size, std::size_t count, void*) {
    return size * count;
}

std::size_t CurlSession::OnData(char* data, std::size_t size, std::size_t count, void* self) {
    auto* session = static_cast<CurlSession*>(self);
    const std::size_t length = size * count;
    session->bytesReceived_ += length;
    if (!(*session->receiver_)(std::span(reinterpret_cast<const std::uint8_t*>(data), length))) {
        session->receiverStopped_ = true;
        return CURL_WRITEFUNC_ERROR;
    }
    return length;
}

TransferOutcome CurlSession::Probe(const std::string& url, std::int64_t* size) {
    *size = -1;
    if (handle_ == nullptr) {
        return TransferOutcome::NoConnection;
    }
    const TransferOutcome outcome = LookUp(url);
    if (outcome != TransferOutcome::Ok) {
        return outcome;
    }
    curl_off_t length = -1;
    if (curl_easy_getinfo(Easy(handle_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) {
        *size = length;
    }
    if (*size >= 0) {
        return TransferOutcome::Ok;
    }
    // A file:// look-up also succeeds for a directory; only a regular file has a length.
    if (fileStore_) {
        return TransferOutcome::NotFound;
    }
    // The server did not answer SIZE, and then the look-up succeeds for any name in an existing
    // directory: the file's directory must list it.
    return ConfirmListed(url);
}

TransferOutcome CurlSession::LookUp(const std::string& url) {
    CURL* curl = Easy(handle_);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
    // Even without a body, ftp:// hands its pseudo-headers to the write function.
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlSession::Discard);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    return Perform(false);
}

TransferOutcome CurlSession::ConfirmListed(const std::string& url) {
    CURL* curl = Easy(handle_);
    const std::size_t slash = url.rfind('/');
    int nameLength = 0;
    char* name = curl_easy_unescape(curl, url.c_str() + slash + 1, 0, &nameLength);
    if (name == nullptr) {
        return TransferOutcome::NoConnection;
    }
    NameListing listing(std::string(name, static_cast<std::size_t>(nameLength)));
    curl_free(name);

    const ByteReceiver collect = [&listing](std::span<const std::uint8_t> bytes) {
        listing.Feed(bytes);
        return true;
    };
    const std::string directoryUrl = url.substr(0, slash + 1);
    receiver_ = &collect;
    curl_easy_setopt(curl, CURLOPT_URL, directoryUrl.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);  // NLST: bare names, one a line
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlSession::OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    const TransferOutcome listed = Perform(false);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
    receiver_ = nullptr;
    if (listed != TransferOutcome::Ok) {
        return listed;
    }
    if (!listing.Contains()) {
        return TransferOutcome::NotFound;
    }
    // A directory of that name is listed too; a directory is one the server lets us enter.
    switch (LookUp(url + "/")) {
        case TransferOutcome::Ok:
            return TransferOutcome::NotFound;
        case TransferOutcome::NotFound:
            return TransferOutcome::Ok;
        default:
            return TransferOutcome::NoConnection;
    }
}

TransferOutcome CurlSession::Receive(const std::string& url, const ByteReceiver& receiver) {
    if (handle_ == nullptr) {
        return TransferOutcome::NoConnection;
    }
    CURL* curl = Easy(handle_);
    receiver_ = &receiver;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlSession::OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    const TransferOutcome outcome = Perform(true);
    receiver_ = nullptr;
    return outcome;
}

TransferOutcome CurlSession::Perform(bool bytesExpected) {
    receiverStopped_ = false;
    bytesReceived_ = 0;
    errorText_[0] = '\0';
    const CURLcode code = curl_easy_perform(Easy(handle_));
    if (code == CURLE_OK) {
        return TransferOutcome::Ok;
    }
    if (receiverStopped_) {
        return TransferOutcome::Stopped;
    }
    if (MeansNotFound(code)) {
        return TransferOutcome::NotFound;
    }
    // A failure after the data phase began broke the transfer off; one before it means there was
    // no usable connection (no server, no login, no passive data connection).
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(Easy(handle_), CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    if (bytesExpected && (bytesReceived_ > 0 || pretransfer > 0 || MeansBrokenTransfer(code))) {
        return TransferOutcome::Broken;
    }
    return TransferOutcome::NoConnection;
}

std::unique_ptr<ImageServerSession> OpenImageServerSession(const FtpEndpoint& endpoint,
                                                           const TransferTimeouts& timeouts,
                                                           const char* agent) {
    return std::make_unique<CurlSession>(endpoint, timeouts, agent);
}
