#include "platform/NameListing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool ListingContains(const std::string& listing, const std::string& name, std::size_t piece) {
    NameListing names(name);
    for (std::size_t at = 0; at < listing.size(); at += piece) {
        const std::string part = listing.substr(at, piece);
        names.Feed(std::span(reinterpret_cast<const std::uint8_t*>(part.data()), part.size()));
    }
    return names.Contains();
}

TEST(NameListing, MatchesOnlyAWholeLineWhateverTheLineEndsAndPieces) {
    const struct {
        std::string listing;
        bool contains;
    } cases[] = {
        {"a0.bin\r\na1.bin\r\nb.bin\r\n", true},
        {"a0.bin\na1.bin\n", true},
        {"a0.bin\r\na1.bin", true},  // last line without its end
        {"xa1.bin\r\na1.bin.old\r\na1.bi\r\n", false},
        {"A1.BIN\r\n a1.bin\r\n", false},
        {"a1.bin\r\r\n", false},
        {"", false},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{4096}}) {
            EXPECT_EQ(ListingContains(c.listing, "a1.bin", piece), c.contains)
                << c.listing << " in " << piece;
        }
    }
}

}  // namespace
