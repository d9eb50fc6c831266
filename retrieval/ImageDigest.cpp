#include "retrieval/ImageDigest.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <memory>

namespace {

struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

}  // namespace

std::string ImageDigest(std::span<const std::uint8_t> data) {
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int digestLength = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), data.data(), data.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &digestLength) != 1) {
        // Only an OpenSSL set up without its default provider gets here; such a build cannot
        // check any image, so no digest text is produced and every comparison fails.
        return {};
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * digestLength);
    for (unsigned int i = 0; i < digestLength; ++i) {
        text.push_back(kHex[digest[i] >> 4]);
        text.push_back(kHex[digest[i] & 0x0F]);
    }
    return text;
}

bool VerifyImage(std::span<const std::uint8_t> data, std::u16string_view expected) {
    const std::string digest = ImageDigest(data);
    return !digest.empty() && digest.size() == expected.size() &&
           std::equal(digest.begin(), digest.end(), expected.begin(),
                      [](char digit, char16_t unit) { return char16_t(digit) == unit; });
}
