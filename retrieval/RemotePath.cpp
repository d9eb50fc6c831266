#include "retrieval/RemotePath.h"

#include <filesystem>

#include "platform/Text.h"
#include "platform/Utf8Path.h"
#include "retrieval/TransferFields.h"

namespace {

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Percent-encodes every byte except the unreserved ones and the segment separator '/'.
std::string EncodePath(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(path.size());
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c) || c == '/') {
            encoded.push_back(ch);
        } else {
            encoded.push_back('%');
            encoded.push_back(kHex[c >> 4]);
            encoded.push_back(kHex[c & 0x0F]);
        }
    }
    return encoded;
}

bool NamesOneFile(std::u16string_view path) {
    if (path.empty() || path.size() > kMaxRemotePath || path.back() == u'/') {
        return false;
    }
    for (const char16_t unit : path) {
        if (unit < 0x20 || unit == 0x7F) {
            return false;
        }
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(u'/', start), path.size());
        if (path.substr(start, end - start) == u"..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string HostPart(const FtpEndpoint& endpoint) {
    const bool ipv6Literal = endpoint.host.find(':') != std::string::npos;
    const std::uint16_t port = endpoint.port == 0 ? 21 : endpoint.port;
    return (ipv6Literal ? "[" + endpoint.host + "]" : endpoint.host) + ":" + std::to_string(port);
}

}  // namespace

std::optional<std::string> ImageUrl(const FtpEndpoint& endpoint, std::u16string_view remotePath) {
    if (!NamesOneFile(remotePath)) {
        return std::nullopt;
    }
    const std::string path = EncodePath(ToUtf8(remotePath));
    if (endpoint.scheme == "file") {
        std::error_code error;
        // Forward slashes on every system; a drive letter ("C:/...") gets the URL's leading slash.
        const std::u8string generic = std::filesystem::absolute(PathFromUtf8(endpoint.basePath), error)
                                          .lexically_normal()
                                          .generic_u8string();
        std::string root(generic.begin(), generic.end());
        if (error || endpoint.basePath.empty()) {
            return std::nullopt;
        }
        while (!root.empty() && root.back() == '/') {
            root.pop_back();
        }
        if (!root.starts_with('/')) {
            root.insert(root.begin(), '/');
        }
        return "file://" + EncodePath(root) + "/" + path;
    }
    if (endpoint.scheme != "ftp" || endpoint.host.empty()) {
        return std::nullopt;
    }
    return "ftp://" + HostPart(endpoint) + "/" + path;
}

std::string EndpointAddress(const FtpEndpoint& endpoint) {
    if (endpoint.scheme == "file") {
        return "file://" + endpoint.basePath;
    }
    return endpoint.scheme + "://" + HostPart(endpoint) + endpoint.basePath;
}
