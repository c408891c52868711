#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/DesignFile.h"
#include "tests/support/Golden.h"

namespace lumisk {
namespace {

const AsciiCollation kCollation;

std::vector<std::string> names(const DesignList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.count(); ++i) out.push_back(list.name(i));
  return out;
}

DesignList listOf(std::initializer_list<const char*> ns) {
  DesignList list;
  for (const char* n : ns) list.append(n, TDesign::unset());
  return list;
}

TEST(SaveDesignSectionTest, WritesTheExportExampleByteForByte) {
  DesignList list;
  TDesign a = TDesign::unset();
  a.intValues[1] = 2;          // DragBar
  a.intValues[13] = 16777215;  // BackColor
  a.wallPaper() = "C:\\pics\\bg.bmp";
  TDesign b = TDesign::unset();
  b.intValues[21] = 4;  // Cols
  b.intValues[22] = 3;  // Rows
  list.append("デザイン1", a);
  list.append("デザイン2", b);
  TMemIniFile ini("C:\\out\\x.dsg", "", kCollation);
  saveDesignSection(ini, 1, list, 0);
  saveDesignSection(ini, 2, list, 1);
  EXPECT_EQ(ini.serialize(), testing::goldenFile("export-two.dsg"));
}

TEST(SaveDesignSectionTest, UnsetValuesAreLeftOutAndAnEmptyWallPaperIsKept) {
  DesignList list = listOf({"none", "empty"});
  list.design(1).wallPaper() = "";
  list.design(1).intValues[0] = 0;
  list.design(1).intValues[22] = INT32_MIN;
  TMemIniFile ini("x", "", kCollation);
  saveDesignSection(ini, 0, list, 0);
  saveDesignSection(ini, 7, list, 1);
  EXPECT_EQ(ini.serialize(),
            "[0]\r\nName=none\r\n\r\n[7]\r\nName=empty\r\nBtnVertical=0\r\nRows=-2147483648\r\nWallPaper=\r\n\r\n");
}

struct LoadCase {
  const char* what;
  std::vector<const char*> existing;
  std::string file;
  std::vector<std::string> loaded;
  std::string text;
};

class LoadDesignsNamesTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadDesignsNamesTest, AppendsUnderUniqueNames) {
  const auto& c = GetParam();
  DesignList list;
  for (const char* n : c.existing) list.append(n, TDesign::unset());
  const TMemIniFile ini("C:\\dir\\f.dsg", c.file, kCollation);
  loadDesigns(ini, list);
  EXPECT_EQ(quotedNames(list, c.existing.size()), c.text) << c.what;
  std::vector<std::string> expected(c.existing.begin(), c.existing.end());
  expected.insert(expected.end(), c.loaded.begin(), c.loaded.end());
  EXPECT_EQ(names(list), expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Names, LoadDesignsNamesTest,
    ::testing::Values(
        LoadCase{"clash within the file", {}, "[1]\r\nName=X\r\n[2]\r\nName=X\r\n", {"X", "X2"},
                 "\"X\"\r\n\"X2\"\r\n"},
        LoadCase{"clash with the list", {"X"}, "[1]\r\nName=X\r\n[2]\r\nName=X\r\n", {"X2", "X3"},
                 "\"X2\"\r\n\"X3\"\r\n"},
        LoadCase{"letter case counts", {"x"}, "[1]\r\nName=X\r\n", {"X"}, "\"X\"\r\n"},
        LoadCase{"the same header twice reads the first section twice", {},
                 "[1]\r\nName=A\r\n[1]\r\nName=B\r\n", {"A", "A2"}, "\"A\"\r\n\"A2\"\r\n"},
        LoadCase{"any header, Main included", {}, "[Main]\r\nName=M\r\n[zz]\r\nName=Z\r\n", {"M", "Z"},
                 "\"M\"\r\n\"Z\"\r\n"},
        LoadCase{"sections without a usable name", {},
                 "[1]\r\nCols=3\r\n[2]\r\nName=\r\n[3]\r\nName =N\r\n[4]\r\nname=lower\r\n", {"lower"},
                 "\"lower\"\r\n"},
        LoadCase{"names are taken as they stand", {}, "[1]\r\nName=  spaced \"q\"  \r\n", {"  spaced \"q\"  "},
                 "\"  spaced \"q\"  \"\r\n"},
        LoadCase{"nothing to load", {"A"}, "[Main]\r\nLeft=1\r\n", {}, ""}));

TEST(LoadDesignsTest, IntegersAreReadWithTheUnsetDefault) {
  const TMemIniFile ini("f.dsg",
                        "[1]\r\nName=N\r\nBtnVertical=16\r\nDragBar= 16\r\nGroupName=16 \r\nDragBarSize=0x10\r\n"
                        "ScrollBar=$10\r\nScrollBtn=x10\r\nGroupBtn=X10\r\nScrollSize=-16\r\nBtnSmallIcon=+16\r\n"
                        "BtnSquare=-$10\r\nBtnWidth=2147483647\r\nBtnHeight=2147483648\r\nBtnCaption=abc\r\n"
                        "BackColor=\r\nDragBar=9\r\nbtncolor=$FFFFFFFF\r\nCols=30\r\n",
                        kCollation);
  DesignList list;
  loadDesigns(ini, list);
  const auto& v = list.design(0).intValues;
  const std::vector<int32_t> expected = {16, 16, -1, 16, 16, 16, 16, -16, 16, -1, 2147483647, -1,
                                         -1, -1, -1, -1,  -1, -1, -1, -1,  -1, 30, -1};
  for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(v[k], expected[k]) << intKeyName(int(k));
  EXPECT_EQ(list.design(0).wallPaper(), "-");
}

struct WallCase {
  std::string fileName;
  std::string line;  // the WallPaper line, or empty for none
  std::string value;
};

class WallPaperResolutionTest : public ::testing::TestWithParam<WallCase> {};

TEST_P(WallPaperResolutionTest, BareNamesLieBesideTheFileAndFoldersAreNoPicture) {
  const auto& c = GetParam();
  const TMemIniFile ini(c.fileName, "[1]\r\nName=N\r\n" + c.line + "\r\n", kCollation);
  DesignList list;
  loadDesigns(ini, list);
  EXPECT_EQ(list.design(0).wallPaper(), c.value) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WallPaperResolutionTest,
    ::testing::Values(WallCase{"C:\\dir\\f.dsg", "WallPaper=bg.bmp", "C:\\dir\\bg.bmp"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=sub\\bg.bmp", "sub\\bg.bmp"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=D:bg.bmp", "D:bg.bmp"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=C:\\pics\\", ""},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=", ""},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=-", "-"},
                      WallCase{"C:\\dir\\f.dsg", "", "-"},
                      WallCase{"f.dsg", "WallPaper=bg.bmp", "bg.bmp"},
                      // 表 ends in byte 5C: it is a file name, neither a folder nor a separator.
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=表", "C:\\dir\\表"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=歃", "C:\\dir\\歃"},  // 9F 5C: the last lead byte
                      // FC 5C: the last lead byte of the upper range.
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=\xFC\x5C", "C:\\dir\\\xFC\x5C"},
                      // A file named by a relative path that starts with 表: its 5C is no folder.
                      WallCase{"表.dsg", "WallPaper=bg.bmp", "bg.bmp"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=C:\\壁紙\\表", "C:\\壁紙\\表"},
                      WallCase{"C:\\表\\ソ.dsg", "WallPaper=bg.bmp", "C:\\表\\bg.bmp"},
                      WallCase{"C:\\dir\\表", "WallPaper=bg.bmp", "C:\\dir\\bg.bmp"},
                      WallCase{"C:\\dir\\f.dsg", "WallPaper=C:\\表\\", ""}));

TEST(LoadDesignsTest, SavingAndLoadingAgainGivesTheSameDesigns) {
  DesignList original;
  TDesign d = TDesign::unset();
  for (int k = 0; k < kIntKeyCount; ++k) d.intValues[k] = k * 1000 - 7;
  d.wallPaper() = "C:\\壁紙\\海.bmp";
  original.append("海", d);
  original.append("何もない", TDesign::unset());
  TDesign empty = TDesign::unset();
  empty.wallPaper() = "";
  original.append("空", empty);

  TMemIniFile out("C:\\x\\designs.ini", "", kCollation);
  for (std::size_t i = 0; i < original.count(); ++i) saveDesignSection(out, int32_t(i), original, i);
  const TMemIniFile in("C:\\x\\designs.ini", out.serialize(), kCollation);
  DesignList loaded;
  loadDesigns(in, loaded);
  EXPECT_EQ(loaded, original);
}

struct UniqueCase {
  const char* base;
  bool plain;
  std::vector<const char*> taken;
  const char* result;
};

class UniqueNameTest : public ::testing::TestWithParam<UniqueCase> {};

TEST_P(UniqueNameTest, FirstFreeCandidate) {
  const auto& c = GetParam();
  DesignList list;
  for (const char* n : c.taken) list.append(n, TDesign::unset());
  EXPECT_EQ(uniqueName(c.base, c.plain, list), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, UniqueNameTest,
    ::testing::Values(UniqueCase{"X", true, {}, "X"}, UniqueCase{"X", true, {"X"}, "X2"},
                      UniqueCase{"X", true, {"X", "X2"}, "X3"}, UniqueCase{"X", true, {"X1"}, "X"},
                      UniqueCase{"X", true, {"x"}, "X"}, UniqueCase{"X", false, {}, "X1"},
                      UniqueCase{"デザイン", false, {"デザイン1", "デザイン3"}, "デザイン2"},
                      UniqueCase{"デザイン", false, {"デザイン"}, "デザイン1"}));

}  // namespace
}  // namespace lumisk
