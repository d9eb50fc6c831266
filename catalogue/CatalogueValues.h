#pragma once
// How catalogue texts become numbers: leading blanks are skipped, an optional sign and the digits
// after it are used, anything else gives 0; the value is then kept in the destination's width
// (low-order bits), so 300 is 44 in 8 bits.
#include <cstdint>
#include <string_view>
#include <type_traits>

std::int64_t DecimalValue(std::u16string_view text);

// True for empty text (a NULL column reads as empty) and text of blanks only.
bool IsBlank(std::u16string_view text);

template <typename Integer>
Integer DecimalAs(std::u16string_view text) {
    static_assert(std::is_integral_v<Integer>);
    return static_cast<Integer>(static_cast<std::uint64_t>(DecimalValue(text)));
}
