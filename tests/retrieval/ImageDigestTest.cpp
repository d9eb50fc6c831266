#include "retrieval/ImageDigest.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// The span refers to text's own storage: pass literals or strings that outlive the call's use.
std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct Rfc1321Case {
    std::string message;
    std::string digest;
};

// The test suite of RFC 1321, appendix A.5.
const std::vector<Rfc1321Case> kRfc1321Suite = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(ImageDigest, MatchesTheRfc1321TestSuite) {
    for (const auto& [message, digest] : kRfc1321Suite) {
        EXPECT_EQ(ImageDigest(Bytes(message)), digest) << '"' << message << '"';
    }
}

TEST(ImageDigest, CoversExactlyTheGivenBytes) {
    EXPECT_EQ(ImageDigest(Bytes("abcdef").first(3)), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(ImageDigest, HandlesLengthsAroundTheBlockPadding) {
    // 55, 56 and 64 bytes put the length field in the same block, force a second one, and fill one.
    EXPECT_EQ(ImageDigest(Bytes(std::string(55, 'a'))), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(ImageDigest(Bytes(std::string(56, 'a'))), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(ImageDigest(Bytes(std::string(64, 'a'))), "014842d480b571495a4a0363793f7367");
}

TEST(VerifyImage, AcceptsOnlyTheExactLowerCaseText) {
    const auto abc = Bytes("abc");
    EXPECT_TRUE(VerifyImage(abc, u"900150983cd24fb0d6963f7d28e17f72"));
    EXPECT_FALSE(VerifyImage(abc, u"900150983CD24FB0D6963F7D28E17F72"));   // upper case
    EXPECT_FALSE(VerifyImage(abc, u"900150983cd24fb0d6963f7d28e17f72 "));  // trailing space
    EXPECT_FALSE(VerifyImage(abc, u" 900150983cd24fb0d6963f7d28e17f72"));  // leading space
    EXPECT_FALSE(VerifyImage(abc, u"900150983cd24fb0d6963f7d28e17f7"));    // one digit short
    EXPECT_FALSE(VerifyImage(abc, u"900150983cd24fb0d6963f7d28e17f73"));   // last digit differs
    EXPECT_FALSE(VerifyImage(abc, u""));
}

TEST(VerifyImage, ComparesWideCodeUnitsWithoutNarrowing) {
    // A code unit whose low byte is '2' must not pass for the digit '2'.
    std::u16string lookalike = u"900150983cd24fb0d6963f7d28e17f72";
    lookalike[31] = char16_t(0x0132);
    EXPECT_FALSE(VerifyImage(Bytes("abc"), lookalike));
}

}  // namespace
