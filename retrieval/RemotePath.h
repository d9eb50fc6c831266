#pragma once
// Where an image lives: the URL that names a remote path (FormatRemotePath of the software record)
// on the configured endpoint, an ftp:// server or a file:// image store. Pure, any thread.
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/EndpointSettings.h"

// The URL of remotePath on endpoint, each path segment percent-encoded. Nothing when the path
// cannot name one file: empty, longer than kMaxRemotePath, ending in a slash (a directory), with a ".."
// segment (it would leave the store) or with control characters.
std::optional<std::string> ImageUrl(const FtpEndpoint& endpoint, std::u16string_view remotePath);

// The endpoint as an address for people to read: "ftp://host:port" followed by the base path, or
// "file://" followed by the store's directory.
std::string EndpointAddress(const FtpEndpoint& endpoint);
