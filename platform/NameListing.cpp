#include "platform/NameListing.h"

#include <utility>

NameListing::NameListing(std::string name) : name_(std::move(name)) {}

void NameListing::Feed(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
        if (byte == '\n') {
            EndLine();
        } else if (!lineTooLong_) {
            // One byte beyond the name (a CR) is kept; more cannot match, so nothing more is stored.
            line_.push_back(static_cast<char>(byte));
            lineTooLong_ = line_.size() > name_.size() + 1;
        }
    }
}

bool NameListing::Contains() const {
    return found_ || (!lineTooLong_ && line_ == name_);
}

void NameListing::EndLine() {
    if (!lineTooLong_ && !line_.empty() && line_.back() == '\r') {
        line_.pop_back();
    }
    found_ = found_ || (!lineTooLong_ && line_ == name_);
    line_.clear();
    lineTooLong_ = false;
}
