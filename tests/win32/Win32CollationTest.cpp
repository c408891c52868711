#include "win32/Win32Collation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <random>
#include <vector>

namespace lumisk {
namespace {

const Win32Collation collation;

std::string foldAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Narrow literals are code page 932.
const std::vector<std::string> kCorpus = {
    "",
    " ",
    "a",
    "A",
    "z",
    "Z",
    "0",
    "9",
    "i",
    "I",
    "Name",
    "NAME",
    "name",
    "nAmE",
    "Nam",
    "Name ",
    " Name",
    "WallPaper",
    "wallpaper",
    "Main",
    "MAIN",
    "main",
    "a b",
    "a-b",
    "ab",
    "a_b",
    "a'b",
    "Ａ",
    "ａ",
    "Ｚ",
    "ｚ",
    "ＮＡＭＥ",
    "ｎａｍｅ",
    "ｎａｍE",
    "Ω",
    "ω",
    "Я",
    "я",
    "Ⅰ",
    "ⅰ",
    "１",
    "1",
    "ア",
    "あ",
    "ｱ",
    "カ",
    "ガ",
    "ｶﾞ",
    "ー",
    "−",
    "-",
    "～",
    "表",
    "ソ",
    "表示",
    "ソフト",
    "予定表",
    "表A",
    "表a",
    "ソZ",
    "ソz",
    "\x95\x5C"
    "A",
    "デザイン1",
    "デザイン１",
    "\x87\x54",
    "\xFA\x4A",  // the NEC and the IBM code of the same Roman numeral
    std::string("a\0b", 3),
    std::string("A\0B", 3),
    "a\x82",
    "a\x82\x20",
};

std::string hex(const std::string& bytes) {
  std::string out;
  char digits[4];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02X ", c);
    out += digits;
  }
  return out;
}

TEST(Win32Collation, KeysAgreeWithEquality) {
  std::printf("[ locale   ] code page %u, user locale %04lX\n", GetACP(),
              static_cast<unsigned long>(GetUserDefaultLCID()));
  std::vector<std::string> keys;
  for (const auto& s : kCorpus) keys.push_back(collation.key(s));
  int equalPairs = 0;
  for (std::size_t i = 0; i < kCorpus.size(); ++i) {
    for (std::size_t j = 0; j < kCorpus.size(); ++j) {
      const bool equal = collation.equal(kCorpus[i], kCorpus[j]);
      EXPECT_EQ(equal, keys[i] == keys[j]) << "[" << hex(kCorpus[i]) << "] [" << hex(kCorpus[j]) << "]";
      EXPECT_EQ(equal, collation.equal(kCorpus[j], kCorpus[i]));
      if (equal && i != j) ++equalPairs;
    }
  }
  EXPECT_GT(equalPairs, 20) << "the corpus must hold case variants";
}

TEST(Win32Collation, IgnoresLetterCaseAndNothingElse) {
  struct Case {
    std::string a, b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"Name", "nAmE", true},
      {"ＮＡＭＥ", "ｎａｍｅ", true},
      {"Ω", "ω", true},
      {"Я", "я", true},
      {"表A", "表a", true},
      {"\x87\x54", "\xFA\x4A", true},
      {"", "", true},
      {"A", "Ａ", false},
      {"ア", "あ", false},
      {"ア", "ｱ", false},
      {"表", "ソ", false},
      {"表",
       "\x95\x5C"
       "A",
       false},
      {"Name", "Name ", false},
      {"ab", "a-b", false},
      {"", " ", false},
      {"ガ", "カ", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(collation.equal(c.a, c.b), c.equal) << "[" << hex(c.a) << "] [" << hex(c.b) << "]";
    EXPECT_EQ(collation.key(c.a) == collation.key(c.b), c.equal) << "[" << hex(c.a) << "] [" << hex(c.b) << "]";
  }
}

const std::string kAlnum = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The INI object compares names made of ASCII letters and digits by folding them itself and sends only
// the others here; that is sound only if the locale agrees with plain ASCII folding on all of them.
TEST(Win32Collation, AsciiLettersAndDigitsFoldAsAscii) {
  // Every such name of up to three characters: equal sort keys exactly for equal folded names.
  std::vector<std::string> names = {""};
  for (std::size_t begin = 0, length = 1; length <= 3; ++length) {
    const std::size_t end = names.size();
    for (std::size_t i = begin; i < end; ++i)
      for (char c : kAlnum) names.push_back(names[i] + c);
    begin = end;
  }
  std::map<std::string, std::string> foldOfKey, keyOfFold;
  int disagreements = 0;
  for (const auto& name : names) {
    const std::string key = collation.key(name), fold = foldAscii(name);
    const auto [k, newKey] = foldOfKey.try_emplace(key, fold);
    const auto [f, newFold] = keyOfFold.try_emplace(fold, key);
    if (k->second != fold || f->second != key) {
      if (++disagreements < 10) ADD_FAILURE() << name << " sorts with " << k->second << " or apart from " << fold;
    }
  }
  EXPECT_EQ(disagreements, 0);
  EXPECT_EQ(foldOfKey.size(), keyOfFold.size());

  // equal() on every pair of names of up to one character, then on a large sample of longer pairs, most
  // of them case variants or near misses of each other.
  for (std::size_t i = 0; i < 63; ++i)
    for (std::size_t j = 0; j < 63; ++j)
      ASSERT_EQ(collation.equal(names[i], names[j]), foldAscii(names[i]) == foldAscii(names[j]))
          << names[i] << " " << names[j];
  std::mt19937 random(20240);
  auto pick = [&] { return kAlnum[random() % kAlnum.size()]; };
  for (int round = 0; round < 60000; ++round) {
    std::string a;
    const std::size_t length = 1 + random() % 12;
    for (std::size_t i = 0; i < length; ++i) a += pick();
    std::string b = a;
    for (char& c : b)
      if (random() % 2 && std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
    switch (round % 4) {
      case 1:
        b[random() % b.size()] = pick();
        break;
      case 2:
        b.insert(random() % (b.size() + 1), 1, pick());
        break;
      case 3:
        b.erase(random() % b.size(), 1);
        break;
      default:
        break;
    }
    ASSERT_EQ(collation.equal(a, b), foldAscii(a) == foldAscii(b)) << a << " " << b;
  }
}

TEST(Win32Collation, CostPerCall) {
  const std::vector<std::string> names = {"Main",       "0",         "17",
                                          "1234",       "WallPaper", "BtnFocusColor",
                                          "デザイン12", "ｎａｍｅ",  "予定表の名前とそれに続く長めの名前"};
  LARGE_INTEGER frequency{}, start{}, stop{};
  QueryPerformanceFrequency(&frequency);
  constexpr int kRounds = 20000;
  std::size_t sink = 0;

  QueryPerformanceCounter(&start);
  for (int r = 0; r < kRounds; ++r)
    for (const auto& name : names) sink += collation.key(name).size();
  QueryPerformanceCounter(&stop);
  const double keyNs = 1e9 * static_cast<double>(stop.QuadPart - start.QuadPart) /
                       static_cast<double>(frequency.QuadPart) / (kRounds * names.size());

  QueryPerformanceCounter(&start);
  for (int r = 0; r < kRounds; ++r)
    for (std::size_t i = 0; i < names.size(); ++i) sink += collation.equal(names[i], names[(i + r) % names.size()]);
  QueryPerformanceCounter(&stop);
  const double equalNs = 1e9 * static_cast<double>(stop.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart) / (kRounds * names.size());

  std::printf("[ figures  ] code page %u: key() %.0f ns per call, equal() %.0f ns per call\n", GetACP(), keyNs,
              equalNs);
  EXPECT_GT(sink, 0u);
  // Far above what it costs; a lookup that went through the system's slow paths would show here.
  EXPECT_LT(keyNs, 50000.0);
  EXPECT_LT(equalNs, 50000.0);
}

}  // namespace
}  // namespace lumisk
