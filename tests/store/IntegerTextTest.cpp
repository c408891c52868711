#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "store/IntegerText.h"

namespace lumisk {
namespace {

struct ParseCase {
  std::string text;
  std::optional<int32_t> value;
};

class ParseIntegerTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntegerTest, ConvertsOrFails) {
  const auto& c = GetParam();
  EXPECT_EQ(parseInteger(c.text), c.value) << "text: [" << c.text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseIntegerTest,
    ::testing::Values(
        // Decimal, with blanks before only.
        ParseCase{"16", 16}, ParseCase{" 16", 16}, ParseCase{"   16", 16}, ParseCase{"16 ", std::nullopt},
        ParseCase{"\t16", std::nullopt}, ParseCase{"1 6", std::nullopt}, ParseCase{"-16", -16},
        ParseCase{"+16", 16}, ParseCase{" -16", -16}, ParseCase{"- 16", std::nullopt}, ParseCase{"0016", 16},
        ParseCase{"0", 0}, ParseCase{"-0", 0},
        // Range limits, and numbers far beyond 32 bits.
        ParseCase{"2147483647", 2147483647}, ParseCase{"2147483648", std::nullopt},
        ParseCase{"-2147483648", INT32_MIN}, ParseCase{"-2147483649", std::nullopt},
        ParseCase{"000000000000000000000000002147483647", 2147483647},
        ParseCase{"99999999999999999999999999", std::nullopt},
        // Hexadecimal: four prefixes, no sign, a 32-bit pattern.
        ParseCase{"0x10", 16}, ParseCase{"$10", 16}, ParseCase{"x10", 16}, ParseCase{"X10", 16},
        ParseCase{"0X10", 16}, ParseCase{"$ff", 255}, ParseCase{"0x0000000010", 16},
        ParseCase{"$FFFFFFFF", -1}, ParseCase{"$80000000", INT32_MIN}, ParseCase{"$100000000", std::nullopt},
        ParseCase{"-$10", std::nullopt}, ParseCase{"+0x10", std::nullopt}, ParseCase{" $10", 16},
        ParseCase{"0x10 ", std::nullopt}, ParseCase{"$1g", std::nullopt}, ParseCase{"0x-1", std::nullopt},
        // Bare prefixes and signs, and nothing at all.
        ParseCase{"", std::nullopt}, ParseCase{" ", std::nullopt}, ParseCase{"$", std::nullopt},
        ParseCase{"0x", std::nullopt}, ParseCase{"x", std::nullopt}, ParseCase{"-", std::nullopt},
        ParseCase{"+", std::nullopt}, ParseCase{"abc", std::nullopt}, ParseCase{std::string("1\0", 2), std::nullopt}));

TEST(FormatIntegerTest, DecimalWithoutPlusOrLeadingZeros) {
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(16), "16");
  EXPECT_EQ(formatInteger(-16), "-16");
  EXPECT_EQ(formatInteger(INT32_MIN), "-2147483648");
  EXPECT_EQ(formatInteger(INT32_MAX), "2147483647");
}

TEST(FormatIntegerTest, EveryFormattedValueParsesBack) {
  for (int64_t v = INT32_MIN; v <= INT32_MAX; v += 65537 * 31)
    ASSERT_EQ(parseInteger(formatInteger(static_cast<int32_t>(v))), static_cast<int32_t>(v));
}

}  // namespace
}  // namespace lumisk
