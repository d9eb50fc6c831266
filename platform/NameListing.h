#pragma once
// Looks for one name in a directory's name listing (FTP NLST: one name per line, lines ended by
// CRLF or LF) as it arrives in pieces. The match is exact: case, spaces and length count. Pure,
// one thread at a time.
#include <cstdint>
#include <span>
#include <string>

class NameListing {
  public:
    explicit NameListing(std::string name);

    // Takes the next piece of the listing.
    void Feed(std::span<const std::uint8_t> bytes);
    // Whether a complete line of the listing so far (or the unterminated last one) is the name.
    bool Contains() const;

  private:
    void EndLine();

    std::string name_;
    std::string line_;
    bool lineTooLong_ = false;  // the current line is already longer than the name
    bool found_ = false;
};
