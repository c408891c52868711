// Integer text as the design files hold it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumisk {

// Leading blanks (0x20 only), then either a decimal number with an optional sign within 32 bits, or an
// unsigned hexadecimal number after "$", "x", "X", "0x" or "0X" of at most FFFFFFFF, taken as a 32-bit
// pattern. Nothing may follow the digits. std::nullopt when the text has no such form.
std::optional<int32_t> parseInteger(std::string_view text);
// The same, `fallback` where that gives std::nullopt.
int32_t parseInteger(std::string_view text, int32_t fallback);

// Decimal form: "-" before a negative number, no "+", no leading zeros.
std::string formatInteger(int32_t value);

// The same into `buffer`, which the result points into: writing many numbers needs no string for each.
inline constexpr std::size_t kIntegerTextSize = 11;  // "-2147483648"
std::string_view formatInteger(int32_t value, std::array<char, kIntegerTextSize>& buffer);

}  // namespace lumisk
