#include "win32/Cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace lumisk {
namespace {

// Narrow literals here are code page 932 (the compiler's table), wide ones UTF-16: each row checks
// Windows' table against the compiler's.
struct Both {
  const char* what;
  std::string cp932;
  std::wstring wide;
};

const std::vector<Both> kBoth = {
    {"empty", "", L""},
    {"ASCII", "Name=WallPaper 1", L"Name=WallPaper 1"},
    {"second byte 0x5C", "表ソ能\\予定表", L"表ソ能\\予定表"},
    {"kana", "デザインひらがな", L"デザインひらがな"},
    {"half-width kana", "ｱｲｳﾞ", L"ｱｲｳﾞ"},
    {"full-width letters", "ＡａＺｚ", L"ＡａＺｚ"},
    {"NEC special characters", "①Ⅰ㈱", L"①Ⅰ㈱"},
    {"IBM extension", "\xFA\x40\xFA\x55", L"\u2170\uFFE4"},
    {"embedded NUL", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
};

TEST(Cp932, ConvertsBothWaysAndBack) {
  for (const auto& c : kBoth) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toWide(c.cp932), c.wide);
    EXPECT_EQ(toWideExact(c.cp932), c.wide);
    EXPECT_EQ(toCp932(c.wide), c.cp932);
  }
}

TEST(Cp932, SingleBytesOutsideTheCharacterSetSurviveARoundTrip) {
  // Windows gives them code points of their own; whether they count as characters for a name is left
  // to the system's table.
  EXPECT_EQ(toWide("\x80\xA0\xFD"), L"\u0080\uF8F0\uF8F1");
  EXPECT_EQ(toCp932(L"\u0080\uF8F0\uF8F1"), "\x80\xA0\xFD");
}

TEST(Cp932, DuplicateCodesComeBackAsTheCanonicalOne) {
  // "∵" has an NEC code beside its standard one; UTF-16 keeps only the character.
  EXPECT_EQ(toWide("\x87\x9A"), L"∵");
  EXPECT_EQ(toCp932(toWide("\x87\x9A")), "\x81\xE6");
}

TEST(Cp932, RefusesCharactersWithoutAnExactCode) {
  const std::vector<std::wstring> refused = {
      L"\u00A5",                                 // yen sign: best fit would give "\"
      L"caf\u00E9",                              // best fit would give "e"
      L"\u301C",                                 // wave dash: code page 932 has only the full-width tilde
      L"\uFFFD",                                 // the replacement character
      L"a\U0001F600",                            // outside the basic plane
      std::wstring(1, 0xD83D),                   // lone high surrogate
      std::wstring(1, 0xDE00),                   // lone low surrogate
      L"表示\u00E9" + std::wstring(1000, L'a'),  // nothing half converted either
  };
  for (const auto& text : refused) EXPECT_EQ(toCp932(text), std::nullopt) << text.size();
  EXPECT_EQ(toCp932(L"?"), "?") << "the default character itself is no failure";
}

TEST(Cp932, ByteSequencesThatAreNoCharacter) {
  struct Case {
    const char* what;
    std::string cp932;
    std::wstring shown;
  };
  const std::vector<Case> cases = {
      {"lone lead byte at the end", "ab\x82", L"ab\u30FB"},
      {"only a lead byte", "\x95", L"\u30FB"},
      {"lead byte before a byte that cannot follow it",
       "a\x81\x20"
       "b",
       L"a\u30FBb"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(toWide(c.cp932), c.shown);
    EXPECT_EQ(toWideExact(c.cp932), std::nullopt);
  }
  EXPECT_EQ(toWideExact("C:\\表"), L"C:\\表") << "a 0x5C second byte ends the text as a whole character";
}

TEST(Cp932, PiecesNeverSplitACharacter) {
  const std::vector<std::string> units = {"a", "\\", "表", "ソ", "ｱ", "①", "\x80", " ", "\x95"};
  const std::vector<std::wstring> wideUnits = {L"a", L"\\", L"表", L"ソ", L"ｱ", L"①", L"\U0001F600", L"é"};
  std::mt19937 random(932);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    std::wstring wide;
    const int length = static_cast<int>(random() % 24);
    for (int i = 0; i < length; ++i) {
      const auto& unit = units[random() % (units.size() - 1)];  // a lone "\x95" only at the end below
      text += unit;
      wide += wideUnits[random() % (round % 2 ? wideUnits.size() : 6)];
    }
    if (round % 3 == 0) text += units.back();
    for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
      SCOPED_TRACE(testing::Message() << "round " << round << ", pieces of " << chunk);
      EXPECT_EQ(detail::toWideChunked(text, false, chunk), toWide(text));
      EXPECT_EQ(detail::toWideChunked(text, true, chunk), toWideExact(text));
      EXPECT_EQ(detail::toCp932Chunked(wide, chunk), toCp932(wide));
    }
  }
}

}  // namespace
}  // namespace lumisk
