#include "catalogue/CatalogueValues.h"

namespace {
bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}
}  // namespace

bool IsBlank(std::u16string_view text) {
    for (char16_t c : text) {
        if (!IsSpace(c)) {
            return false;
        }
    }
    return true;
}

std::int64_t DecimalValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Unsigned arithmetic wraps, which keeps the low-order bits of an over-long number.
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10u + static_cast<std::uint64_t>(text[i] - u'0');
    }
    if (negative) {
        value = ~value + 1u;
    }
    return static_cast<std::int64_t>(value);
}
