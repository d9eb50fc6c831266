// MD5 through OpenSSL's EVP interface.
#include <openssl/evp.h>

#include <memory>

#include "retrieval/ImageDigest.h"

namespace {
struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
}  // namespace

std::optional<Md5Bytes> Md5(std::span<const std::uint8_t> data) {
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    Md5Bytes digest{};
    unsigned int digestLength = 0;
    // Only an OpenSSL set up without its default provider fails here.
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), data.data(), data.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest.data(), &digestLength) != 1 ||
        digestLength != digest.size()) {
        return std::nullopt;
    }
    return digest;
}
