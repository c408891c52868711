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

// The readers below give their result through `value` and tell success by their own result: an
// std::optional<int32_t> handed back through several calls is built in memory piece by piece and read back
// whole, which stalls the processor at every value of a file.
bool parseHex(std::string_view digits, int32_t& result) {
  if (digits.empty()) return false;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = hexDigit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return false;
  }
  result = static_cast<int32_t>(static_cast<uint32_t>(value));
  return true;
}

bool parseDecimal(std::string_view text, int32_t& result) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  result = static_cast<int32_t>(negative ? -value : value);
  return true;
}

bool parse(std::string_view text, int32_t& result) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return false;
  // Most values are plain decimal numbers: a digit other than "0" cannot start a hexadecimal one.
  if (text[0] >= '1' && text[0] <= '9') return parseDecimal(text, result);
  if (text.starts_with("0x") || text.starts_with("0X")) return parseHex(text.substr(2), result);
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return parseHex(text.substr(1), result);
  return parseDecimal(text, result);
}

}  // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
  int32_t value;
  if (!parse(text, value)) return std::nullopt;
  return value;
}

int32_t parseInteger(std::string_view text, int32_t fallback) {
  int32_t value;
  return parse(text, value) ? value : fallback;
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
