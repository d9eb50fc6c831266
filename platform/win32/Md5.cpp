// MD5 through the system's cryptography (BCrypt).
// windows.h first: bcrypt.h needs its types.
#include <windows.h>

#include <bcrypt.h>

#include "retrieval/ImageDigest.h"

std::optional<Md5Bytes> Md5(std::span<const std::uint8_t> data) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_MD5_ALGORITHM, nullptr, 0)))
        return std::nullopt;
    Md5Bytes digest{};
    // One call takes at most 4 GiB; images are far smaller.
    const NTSTATUS status =
        BCryptHash(algorithm, nullptr, 0, const_cast<PUCHAR>(data.data()), static_cast<ULONG>(data.size()),
                   digest.data(), static_cast<ULONG>(digest.size()));
    BCryptCloseAlgorithmProvider(algorithm, 0);
    if (!BCRYPT_SUCCESS(status))
        return std::nullopt;
    return digest;
}
