#include "retrieval/ImageDigest.h"

#include <algorithm>

std::string ImageDigest(std::span<const std::uint8_t> data) {
    const std::optional<Md5Bytes> digest = Md5(data);
    if (!digest) {
        // A system without MD5 cannot check any image: no digest text, every comparison fails.
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * digest->size());
    for (const std::uint8_t byte : *digest) {
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0x0F]);
    }
    return text;
}

bool VerifyImage(std::span<const std::uint8_t> data, std::u16string_view expected) {
    const std::string digest = ImageDigest(data);
    return !digest.empty() && digest.size() == expected.size() &&
           std::equal(digest.begin(), digest.end(), expected.begin(),
                      [](char digit, char16_t unit) { return char16_t(digit) == unit; });
}
