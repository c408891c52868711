#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Cp932Path.h"
#include "store/IniFile.h"
#include "tests/support/Fakes.h"

namespace lumisk {
namespace {

using testing::MemoryFiles;

const AsciiCollation kCollation;

// Every section as "[name]" followed by its lines, each behind a "|".
std::string dump(const TMemIniFile& ini) {
  std::string out;
  for (const auto& name : ini.sectionNames()) out += "[" + name + "]";
  return out;
}

struct ReadCase {
  const char* what;
  std::string bytes;
  std::string sections;  // dump() of the result
  std::string serialized;
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, SplitsLinesAndSections) {
  const auto& c = GetParam();
  const TMemIniFile ini("x.ini", c.bytes, kCollation);
  EXPECT_EQ(dump(ini), c.sections) << c.what;
  EXPECT_EQ(ini.serialize(), c.serialized) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniReadTest,
    ::testing::Values(
        ReadCase{"crlf", "[a]\r\nk=1\r\n", "[a]", "[a]\r\nk=1\r\n\r\n"},
        ReadCase{"lone cr and lf", "[a]\rk=1\nm=2\r\n\n", "[a]", "[a]\r\nk=1\r\nm=2\r\n\r\n"},
        ReadCase{"nul ends the text", std::string("[a]\r\nk=1\0\r\nm=2\r\n[b]\r\n", 20), "[a]", "[a]\r\nk=1\r\n\r\n"},
        ReadCase{"comments and empty lines", ";c\r\n\r\n[a]\r\n;x=1\r\n\r\nk=1", "[a]", "[a]\r\nk=1\r\n\r\n"},
        ReadCase{"lines before the first header", "k=0\r\nfree text\r\n[a]\r\nk=1", "[a]", "[a]\r\nk=1\r\n\r\n"},
        ReadCase{"blanks belong to the name", "[ 1 ]\r\nk=1", "[ 1 ]", "[ 1 ]\r\nk=1\r\n\r\n"},
        ReadCase{"empty section name", "[]\r\nk=1", "[]", "[]\r\nk=1\r\n\r\n"},
        ReadCase{"not headers", "[a]\r\n[\r\n[b\r\nb]\r\n ", "[a]", "[a]\r\n[\r\n[b\r\nb]\r\n \r\n\r\n"},
        ReadCase{"same name twice is never merged", "[a]\r\nk=1\r\n[A]\r\nk=2", "[a][A]",
                 "[a]\r\nk=1\r\n\r\n[A]\r\nk=2\r\n\r\n"},
        ReadCase{"no sections", "k=1\r\n;c\r\n", "", ""},
        ReadCase{"nothing", "", "", ""}));

TEST(IniLookupTest, SectionsAndKeysIgnoreLetterCaseAndTheFirstMatchCounts) {
  const TMemIniFile ini("x.ini",
                        "[Sec]\r\nKey=first\r\nkey=second\r\nName =blank\r\nnoequals\r\nA=b=c\r\nEmpty=\r\nHIDESIZE=Z\r\n"
                        "[SEC]\r\nOther=1\r\n",
                        kCollation);
  EXPECT_EQ(ini.readString("sec", "KEY", "d"), "first");
  EXPECT_EQ(ini.readString("SEC", "Other", "d"), "d") << "only the first section of a name is found";
  EXPECT_EQ(ini.readString("Sec", "Name", "d"), "d") << "a blank before = is part of the key";
  EXPECT_EQ(ini.readString("Sec", "Name ", "d"), "blank");
  EXPECT_EQ(ini.readString("Sec", "noequals", "d"), "d");
  EXPECT_EQ(ini.readString("Sec", "a", "d"), "b=c");
  EXPECT_EQ(ini.readString("Sec", "Empty", "d"), "");
  EXPECT_EQ(ini.readString("Sec", "HideSize", "d"), "Z") << "'Z' folds like every other letter";
  EXPECT_EQ(ini.readString("Missing", "Key", "d"), "d");
}

TEST(IniLookupTest, IntegersAndBooleansFallBackToTheirDefault) {
  const TMemIniFile ini("x.ini", "[m]\r\nA=12\r\nB=$10\r\nC=12 \r\nD=\r\nT=-3\r\nF=0\r\n", kCollation);
  EXPECT_EQ(ini.readInteger("m", "A", 7), 12);
  EXPECT_EQ(ini.readInteger("m", "B", 7), 16);
  EXPECT_EQ(ini.readInteger("m", "C", 7), 7);
  EXPECT_EQ(ini.readInteger("m", "D", 7), 7);
  EXPECT_EQ(ini.readInteger("m", "Z", 7), 7);
  EXPECT_EQ(ini.readInteger("z", "A", 7), 7);
  EXPECT_TRUE(ini.readBool("m", "T", false));
  EXPECT_FALSE(ini.readBool("m", "F", true));
  EXPECT_TRUE(ini.readBool("m", "C", true));
  EXPECT_FALSE(ini.readBool("m", "C", false));
}

// "ア" is 83 41 and "ャ" 83 61: folding the second byte would make them one name.
TEST(IniLookupTest, SecondBytesOfDoubleByteCharactersAreNeverFolded) {
  TMemIniFile ini("x.ini", "[ア]\r\nk=1\r\n[ャ]\r\nk=2\r\n", kCollation);
  EXPECT_EQ(ini.readString("ア", "k", ""), "1");
  EXPECT_EQ(ini.readString("ャ", "k", ""), "2");
  ini.writeString("ャ", "k", "3");
  EXPECT_EQ(ini.readString("ア", "k", ""), "1");
}

// A locale may find names equal that differ in more than letter case: here "-" counts for nothing, and
// full-width letters fold like ASCII ones (CP932 82 60..82 79 to 82 81..82 9A). Names of ASCII letters
// and digits are found without the collation, which must not hide such an equal name. It counts how
// often it is asked.
class LocaleLikeCollation final : public Collation {
 public:
  mutable int asked = 0;

  bool equal(std::string_view a, std::string_view b) const override { return key(a) == key(b); }
  std::string key(std::string_view s) const override {
    ++asked;
    std::string k;
    const std::string folded = kAscii.key(s);
    for (std::size_t i = 0; i < folded.size(); ++i) {
      const auto b = static_cast<unsigned char>(folded[i]);
      if (isLeadByte(b) && i + 1 < folded.size()) {
        const auto second = static_cast<unsigned char>(folded[++i]);
        k += folded[i - 1];
        k += static_cast<char>(b == 0x82 && second >= 0x60 && second <= 0x79 ? second + 0x21 : second);
      } else if (folded[i] != '-') {
        k += folded[i];
      }
    }
    return k;
  }

 private:
  AsciiCollation kAscii;
};

TEST(IniLookupTest, NamesAreOneWhereTheCollationSaysAndPlainNamesNeverAskIt) {
  struct Case {
    std::string bytes, section, key, expected;
    bool asksCollation;
  };
  const Case cases[] = {
      {"[x]\r\nk=0\r\n[a-1]\r\nk=1\r\n[A1]\r\nk=2\r\n", "a1", "k", "1", true},
      {"[A1]\r\nk=2\r\n[a-1]\r\nk=1\r\n", "a-1", "k", "2", true},
      {"[s]\r\nk-1=3\r\nK1=4\r\n", "S", "k1", "3", true},
      {"[s]\r\nk1=4\r\nk-1=3\r\n", "-s", "k-1", "4", true},
      {"[Ａｂ]\r\nk=1\r\n[ab]\r\nk=3\r\n[ａＢ]\r\nk=2\r\n", "ＡＢ", "k", "1", true},
      {"[a1]\r\nk=1\r\n[A1]\r\nk=2\r\n[B]\r\nk=3\r\n", "A1", "k", "1", false},
  };
  const LocaleLikeCollation oracle;
  for (const auto& c : cases) {
    const LocaleLikeCollation collation;
    TMemIniFile ini("x.ini", c.bytes, collation);
    EXPECT_EQ(ini.readString("x", "k", "-"), c.bytes.starts_with("[x]") ? "0" : "-") << c.bytes;
    EXPECT_EQ(ini.readString(c.section, c.key, "-"), c.expected) << c.bytes;
    // Reading a section by its position reads what reading by its name reads.
    const std::string_view key = c.key;
    const TMemIniFile::Keys keys(std::span(&key, 1));
    std::optional<std::string_view> value;
    const std::vector<std::string> names = ini.sectionNames();
    for (std::size_t i = 0; i < names.size(); ++i) {
      ini.readValues(i, keys, std::span(&value, 1));
      EXPECT_EQ(std::string(value.value_or("-")), ini.readString(names[i], c.key, "-")) << c.bytes << " " << i;
    }
    ini.writeString(c.section, c.key, "new");
    EXPECT_EQ(ini.readString(c.section, c.key, "-"), "new") << c.bytes;
    EXPECT_EQ(ini.sectionCount(), TMemIniFile("x.ini", c.bytes, collation).sectionCount()) << c.bytes;
    // A section written first is found again by every name the collation calls equal to its own.
    TMemIniFile fresh("x.ini", "", collation);
    fresh.writeString(c.section, c.key, "w");
    for (const auto& name : names) {
      EXPECT_EQ(fresh.readString(name, c.key, "-"), oracle.equal(name, c.section) ? "w" : "-")
          << c.bytes << " " << name;
    }
    EXPECT_EQ(collation.asked > 0, c.asksCollation) << c.bytes;
  }
}

// Pairs of names with equal hashes in the INI object's indexes (32 bits of each hash), found once by
// hashing random names of six letters and digits ("s-" before them for names the collation compares, with
// this build's std::hash) until two met. A pair that no longer collides tests nothing: search anew.
uint32_t foldedFnv1a(std::string_view s, uint64_t start, uint64_t prime) {
  uint64_t h = start;
  for (const char c : kCollation.key(s)) h = (h ^ static_cast<unsigned char>(c)) * prime;
  return static_cast<uint32_t>(h);  // the index keeps 32 bits
}
uint32_t plainHash(std::string_view s) { return foldedFnv1a(s, 2166136261u, 16777619u); }  // keys and sections
uint32_t collatedSectionHash(std::string_view s) {
  return static_cast<uint32_t>(std::hash<std::string_view>{}(kCollation.key(s)));
}

struct SameHashCase {
  const char* what;
  uint32_t (*hash)(std::string_view);
  std::string first, second;
  bool keys;  // key names in one section, or section names
};

class IniSameHashTest : public ::testing::TestWithParam<SameHashCase> {
 protected:
  // The file holding value v1 under the first name and v2 under the second, as serialize() writes it.
  static std::string file(const SameHashCase& c, const std::string& v1, const std::string& v2) {
    if (c.keys) return "[s]\r\n" + c.first + "=" + v1 + "\r\n" + c.second + "=" + v2 + "\r\n\r\n";
    return "[" + c.first + "]\r\nk=" + v1 + "\r\n\r\n[" + c.second + "]\r\nk=" + v2 + "\r\n\r\n";
  }
  static std::string read(const TMemIniFile& ini, const SameHashCase& c, const std::string& name) {
    return c.keys ? ini.readString("s", name, "-") : ini.readString(name, "k", "-");
  }
  static void write(TMemIniFile& ini, const SameHashCase& c, const std::string& name, const std::string& value) {
    if (c.keys)
      ini.writeString("s", name, value);
    else
      ini.writeString(name, "k", value);
  }
};

TEST_P(IniSameHashTest, EachNameIsReadAndWrittenAsItself) {
  const auto& c = GetParam();
  ASSERT_EQ(c.hash(c.first), c.hash(c.second)) << c.what;
  const std::string bytes = file(c, "1", "2");
  for (const bool secondFirst : {false, true}) {  // the index is built by the first lookup
    const TMemIniFile ini("x.ini", bytes, kCollation);
    if (secondFirst) {
      EXPECT_EQ(read(ini, c, c.second), "2") << c.what;
    }
    EXPECT_EQ(read(ini, c, c.first), "1") << c.what;
    EXPECT_EQ(read(ini, c, c.second), "2") << c.what;
  }
  // Both at once: both keys of the section, or each section by its position.
  const TMemIniFile ini("x.ini", bytes, kCollation);
  const std::string_view both[] = {c.first, c.second};
  const std::string_view k = "k";
  std::optional<std::string_view> values[2];
  if (c.keys) {
    ini.readValues("s", both, values);
  } else {
    const TMemIniFile::Keys keys(std::span(&k, 1));
    ini.readValues(0, keys, std::span(&values[0], 1));
    ini.readValues(1, keys, std::span(&values[1], 1));
  }
  EXPECT_EQ(values[0], "1") << c.what;
  EXPECT_EQ(values[1], "2") << c.what;

  TMemIniFile written("x.ini", bytes, kCollation);
  write(written, c, c.second, "3");
  EXPECT_EQ(written.serialize(), file(c, "1", "3")) << c.what;
  write(written, c, c.first, "4");
  EXPECT_EQ(written.serialize(), file(c, "4", "3")) << c.what;
  TMemIniFile fresh("x.ini", "", kCollation);
  write(fresh, c, c.first, "1");
  write(fresh, c, c.second, "2");
  EXPECT_EQ(fresh.serialize(), bytes) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, IniSameHashTest,
    ::testing::Values(SameHashCase{"plain section names", plainHash, "02pavx", "50wiai", false},
                      SameHashCase{"section names the collation compares", collatedSectionHash, "s-d7b6ir",
                                   "s-au7u8i", false},
                      SameHashCase{"key names", plainHash, "02pavx", "50wiai", true}));

TEST(IniWriteTest, ReplacesTheFirstMatchingLineOrAppends) {
  TMemIniFile ini("x.ini", "[a]\r\nx=1\r\nK=old\r\nk=other\r\n[b]\r\n[A]\r\nk=9\r\n", kCollation);
  ini.writeString("A", "k", "new");
  ini.writeInteger("a", "n", -5);
  ini.writeBool("b", "f", true);
  ini.writeBool("c", "f", false);
  EXPECT_EQ(ini.serialize(),
            "[a]\r\nx=1\r\nk=new\r\nk=other\r\nn=-5\r\n\r\n[b]\r\nf=1\r\n\r\n[A]\r\nk=9\r\n\r\n[c]\r\nf=0\r\n\r\n");
}

TEST(IniWriteTest, ClearLeavesNothingToWrite) {
  TMemIniFile ini("x.ini", "[a]\r\nx=1\r\n", kCollation);
  ini.clear();
  EXPECT_EQ(ini.serialize(), "");
  EXPECT_TRUE(ini.sectionNames().empty());
  ini.writeString("a", "y", "2");
  EXPECT_EQ(ini.serialize(), "[a]\r\ny=2\r\n\r\n");
}

TEST(IniWriteTest, NewSectionsAreFoundAgainAfterManyAppends) {
  TMemIniFile ini("x.ini", "", kCollation);
  for (int i = 0; i < 3000; ++i) ini.writeInteger(std::to_string(i), "v", i);
  ini.writeInteger("1500", "w", 1);
  EXPECT_EQ(ini.sectionCount(), 3000u);
  EXPECT_EQ(ini.readInteger("1500", "W", 0), 1);
  EXPECT_EQ(ini.readInteger("2999", "v", 0), 2999);
}

TEST(IniFileAccessTest, MissingFileIsEmptyAndUnreadableFileThrowsItsText) {
  MemoryFiles files;
  files.files["C:\\d\\x.ini"] = "[a]\r\nk=1\r\n";
  files.unreadable.insert("C:\\d\\locked.ini");
  EXPECT_EQ(TMemIniFile("C:\\d\\none.ini", files, kCollation).sectionCount(), 0u);
  EXPECT_EQ(TMemIniFile("", files, kCollation).sectionCount(), 0u);
  EXPECT_EQ(TMemIniFile("C:\\d\\x.ini", files, kCollation).readString("a", "k", ""), "1");
  try {
    TMemIniFile("C:\\d\\locked.ini", files, kCollation);
    FAIL() << "an unreadable file must not read as empty";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.what(), "ファイル C:\\d\\locked.ini は開けません");
  }
}

TEST(IniFileAccessTest, UpdateFileWritesTheWholeImage) {
  MemoryFiles files;
  TMemIniFile ini("C:\\d\\x.ini", files, kCollation);
  ini.writeString("a", "k", "v");
  ini.updateFile();
  EXPECT_EQ(files.files.at("C:\\d\\x.ini"), "[a]\r\nk=v\r\n\r\n");
  files.failWrites = true;
  EXPECT_THROW(ini.updateFile(), FileError);
  EXPECT_EQ(files.files.at("C:\\d\\x.ini"), "[a]\r\nk=v\r\n\r\n");
}

// Reading many keys at once must find, for each key, the line readString finds: the first line of the
// first section of that name, letter case ignored, blanks part of the key, comments skipped, whatever
// order the lines come in. So it must once the section has been split into lines by a write.
struct BatchCase {
  const char* what;
  std::string bytes;
  std::vector<std::string_view> keys;
  std::vector<std::optional<std::string_view>> expected;  // from section "S"
};

class IniBatchReadTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(IniBatchReadTest, ReadValuesFindWhatReadStringFinds) {
  const auto& c = GetParam();
  TMemIniFile ini("x.ini", c.bytes, kCollation);
  std::vector<std::optional<std::string_view>> values(c.keys.size());
  for (const bool split : {false, true}) {
    if (split) ini.writeString("S", "unasked", "");
    ini.readValues("S", c.keys, values);
    for (std::size_t k = 0; k < c.keys.size(); ++k) {
      EXPECT_EQ(values[k], c.expected[k]) << c.what << ": " << c.keys[k] << (split ? " split" : "");
      EXPECT_EQ(ini.readString("S", c.keys[k], "-"), std::string(c.expected[k].value_or("-"))) << c.keys[k];
    }
  }
  ini.readValues("missing", c.keys, values);
  for (const auto& v : values) EXPECT_FALSE(v);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniBatchReadTest,
    ::testing::Values(
        BatchCase{"the first line of the first section",
                  "k=before\n[s]\r\n;k=comment\r\nName =blank\rk=1\nK=2\r\n\r\nname=y\r\nA=b=c\r\nlast\r\n"
                  "[S]\r\nk=second section\r\nz=1",
                  {"Name", "k", "K", "missing", "a", "k", "z", ""},
                  {"y", "1", "1", std::nullopt, "b=c", "1", std::nullopt, std::nullopt}},
        BatchCase{"a key repeated out of order", "[s]\r\nB=1\r\nA=2\r\nB=3\r\nC=4\r\n", {"A", "B", "C"},
                  {"2", "1", "4"}}));

// Keys written together behave as if written one after the other: "k" and "K" are one key, so the second
// write replaces the line the first one replaced.
TEST(IniBatchTest, WriteValuesIsWriteStringInTurn) {
  const std::string file = "[s]\r\nx=0\r\nk=old\r\n;c\r\nk=other\r\n[t]\nk=1\n";
  const std::string_view keys[] = {"k", "new", "K", "Name"};
  const std::string_view values[] = {"a", "b", "c", "デザイン"};
  TMemIniFile batched("x.ini", file, kCollation);
  TMemIniFile single("x.ini", file, kCollation);
  for (const char* section : {"S", "u"}) {
    batched.writeValues(section, keys, values);
    for (std::size_t k = 0; k < std::size(keys); ++k) single.writeString(section, keys[k], values[k]);
  }
  EXPECT_EQ(batched.serialize(),
            "[s]\r\nx=0\r\nK=c\r\nk=other\r\nnew=b\r\nName=デザイン\r\n\r\n[t]\r\nk=1\r\n\r\n"
            "[u]\r\nK=c\r\nnew=b\r\nName=デザイン\r\n\r\n");
  EXPECT_EQ(single.serialize(), batched.serialize());
  EXPECT_EQ(batched.readString("t", "K", ""), "1") << "a section never written keeps its lines";
}

}  // namespace
}  // namespace lumisk
