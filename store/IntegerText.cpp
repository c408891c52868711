#include "store/IntegerText.h"

#include <charconv>

namespace lumisk {
namespace {

constexpr int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> parseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = hexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> parseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // Most values are plain decimal numbers: a digit other than "0" cannot start a hexadecimal one.
  if (text[0] >= '1' && text[0] <= '9') return parseDecimal(text);
  if (text.starts_with("0x") || text.starts_with("0X")) return parseHex(text.substr(2));
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return parseHex(text.substr(1));
  return parseDecimal(text);
}

std::string formatInteger(int32_t value) {
  std::array<char, kIntegerTextSize> buffer;
  return std::string(formatInteger(value, buffer));
}

std::string_view formatInteger(int32_t value, std::array<char, kIntegerTextSize>& buffer) {
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
}

}  // namespace lumisk
