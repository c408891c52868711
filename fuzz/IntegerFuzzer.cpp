// fuzz_integer: integer text as design files hold it.
//
// The whole input is one text. parseInteger must agree with the reference reading of the rules, and
// writing any 32-bit value and reading it back must give the value again, with or without leading
// blanks, while a trailing blank or a sign before a hexadecimal prefix must make the text unreadable.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/ReferenceModel.h"
#include "store/IntegerText.h"

namespace lumisk::fuzz {
namespace {

std::string describeResult(std::string_view text, std::optional<int32_t> actual, std::optional<int32_t> expected) {
  auto show = [](std::optional<int32_t> v) { return v ? std::to_string(*v) : std::string("(fails)"); };
  std::string out = "text:";
  for (char c : text) out += " " + std::to_string(static_cast<unsigned char>(c));
  return out + "\nactual " + show(actual) + ", expected " + show(expected);
}

void checkText(std::string_view text) {
  const auto actual = parseInteger(text);
  const auto expected = refParseInteger(text);
  require(actual == expected, "parseInteger disagrees with the reference", describeResult(text, actual, expected));
}

void checkValue(int32_t value) {
  const std::string written = formatInteger(value);
  require(written == refFormatInteger(value), "formatInteger is not the plain decimal form", written);
  require(parseInteger(written) == value, "written value does not read back", written);
  require(parseInteger("   " + written) == value, "leading blanks are not skipped", written);
  require(!parseInteger(written + " "), "a trailing blank was accepted", written);
  require(!parseInteger(written + "\t"), "a trailing tab was accepted", written);
  require(!parseInteger("\t" + written), "a leading tab was skipped", written);

  // The same value as a hexadecimal 32-bit pattern, in every prefix spelling.
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<uint32_t>(value));
  for (const char* prefix : {"$", "x", "X", "0x", "0X"}) {
    const std::string text = std::string(prefix) + hex;
    require(parseInteger(text) == value, "hexadecimal pattern does not read back", text);
    require(!parseInteger("-" + text) && !parseInteger("+" + text), "a sign before a hexadecimal prefix", text);
  }
}

}  // namespace
}  // namespace lumisk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace lumisk::fuzz;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  checkText(text);
  if (size >= 4) {
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    checkValue(value);
  }
  if (const auto parsed = lumisk::parseInteger(text)) checkValue(*parsed);
  return 0;
}
