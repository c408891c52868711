#include <gtest/gtest.h>

#include "store/DesignOps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"

namespace lumisk {
namespace {

using testing::FakeHost;
using testing::MemoryFiles;
using testing::ScriptedPrompts;

const AsciiCollation kCollation;
const char* const kInvalidName = "デザインの名前が不正です。処理を中断します。";
const char* const kDuplicateName = "デザインの名前が重複しています。処理を中断します。";

DesignList listOf(std::initializer_list<const char*> ns) {
  DesignList list;
  for (const char* n : ns) list.append(n, TDesign::unset());
  return list;
}

struct PromptCase {
  const char* what;
  std::optional<std::string> answer;
  bool accepted;
  std::string name;     // the accepted name
  const char* message;  // what the user is told, or nullptr
};

class NamePromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(NamePromptTest, TrimsAndRefuses) {
  const auto& c = GetParam();
  ScriptedPrompts prompts;
  prompts.names.push_back(c.answer);
  const DesignList list = listOf({"Blue", "赤"});
  std::string name = "suggested";
  EXPECT_EQ(namePrompt(prompts, "Q", name, list), c.accepted) << c.what;
  if (c.accepted) {
    EXPECT_EQ(name, c.name) << c.what;
  }
  if (!c.answer) {
    EXPECT_EQ(name, "suggested") << "a cancel leaves the name alone";
  }
  if (c.message) {
    EXPECT_EQ(prompts.informed, std::vector<std::string>{c.message}) << c.what;
  } else {
    EXPECT_TRUE(prompts.informed.empty()) << c.what;
  }
  EXPECT_EQ(prompts.nameSuggestions, std::vector<std::string>{"suggested"});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NamePromptTest,
    ::testing::Values(PromptCase{"plain", "Green", true, "Green", nullptr},
                      PromptCase{"blanks and controls around", " \t Green \r\n", true, "Green", nullptr},
                      PromptCase{"inner blanks stay", " a  b ", true, "a  b", nullptr},
                      PromptCase{"other letter case", "blue", true, "blue", nullptr},
                      PromptCase{"only blanks", "   ", false, "", kInvalidName},
                      PromptCase{"empty", "", false, "", kInvalidName},
                      PromptCase{"duplicate", "Blue", false, "", kDuplicateName},
                      PromptCase{"duplicate after trimming", "  赤  ", false, "", kDuplicateName},
                      PromptCase{"cancelled", std::nullopt, false, "", nullptr}));

TEST(CaptureTest, SuggestsTheFirstFreeNumberedName) {
  FakeHost host;
  ScriptedPrompts prompts;
  DesignList list = listOf({"デザイン1", "デザイン3", "デザイン"});
  prompts.names.push_back(std::nullopt);
  EXPECT_FALSE(capture(list, host.api(), 7, prompts));
  EXPECT_EQ(prompts.nameSuggestions.at(0), "デザイン2");
  EXPECT_EQ(prompts.namePrompts.at(0), "メニューに表示するデザイン名を入力して下さい。");
  EXPECT_TRUE(host.calls.empty()) << "no host call once the prompt is cancelled";
  EXPECT_EQ(list.count(), 3u);
}

TEST(CaptureTest, ReadsAll24SettingsInCatalogueOrder) {
  FakeHost host;
  host.padValues = {{"BtnVertical", "1"}, {"Cols", "abc"}, {"Rows", " 12"}, {"BackColor", "$FF"},
                    {"WallPaper", ""}, {"DragBar", std::string(1500, '7')}};
  ScriptedPrompts prompts;
  prompts.names.push_back("  新しい  ");
  DesignList list;
  ASSERT_TRUE(capture(list, host.api(), 42, prompts));
  ASSERT_EQ(host.calls.size(), 24u);
  for (int k = 0; k < kKeyCount; ++k) {
    EXPECT_EQ(host.calls[k].key, keyName(k));
    EXPECT_EQ(host.calls[k].pad, 42);
    // The host API fixes the buffer at 1024 bytes; the host may fill all of them.
    EXPECT_EQ(host.calls[k].size, 1024) << keyName(k);
  }
  ASSERT_EQ(list.count(), 1u);
  EXPECT_EQ(list.name(0), "新しい");
  const TDesign& d = list.design(0);
  EXPECT_EQ(d.intValues[0], 1);
  EXPECT_EQ(d.intValues[21], -1) << "an answer that is no number is unset";
  EXPECT_EQ(d.intValues[22], 12);
  EXPECT_EQ(d.intValues[13], 255);
  EXPECT_EQ(d.intValues[14], -1) << "a failed query is unset";
  EXPECT_EQ(d.intValues[1], -1) << "an answer filling the whole buffer without NUL is read within it";
  EXPECT_EQ(d.wallPaper(), "") << "an empty wallpaper is a value of its own";
}

TEST(CaptureTest, AFailedWallPaperQueryIsUnset) {
  FakeHost host;
  ScriptedPrompts prompts;
  prompts.names.push_back("x");
  DesignList list;
  ASSERT_TRUE(capture(list, host.api(), 1, prompts));
  EXPECT_EQ(list.design(0), TDesign::unset());
}

TEST(ApplyTest, SendsOnlySetValuesAndReportsAnyRefusal) {
  FakeHost host;
  DesignList list = listOf({"only drag bar", "five", "nothing", "empty wallpaper"});
  list.design(0).intValues[1] = 2;
  for (int k : {1, 3, 13, 21}) list.design(1).intValues[k] = k;
  list.design(1).wallPaper() = "C:\\a.bmp";
  list.design(3).wallPaper() = "";

  EXPECT_TRUE(apply(list, 0, host.api(), 9));
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].key, "DragBar");
  EXPECT_EQ(host.calls[0].value, "2");
  EXPECT_EQ(host.calls[0].pad, 9);

  host.calls.clear();
  host.refuse = {"DragBar"};
  EXPECT_FALSE(apply(list, 1, host.api(), 9));
  std::vector<std::string> sent;
  for (const auto& c : host.calls) sent.push_back(c.key + "=" + c.value);
  EXPECT_EQ(sent, (std::vector<std::string>{"DragBar=1", "DragBarSize=3", "BackColor=13", "Cols=21",
                                            "WallPaper=C:\\a.bmp"}));

  host.calls.clear();
  EXPECT_TRUE(apply(list, 2, host.api(), 9));
  EXPECT_TRUE(host.calls.empty());

  EXPECT_TRUE(apply(list, 3, host.api(), 9));
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].key, "WallPaper");
  EXPECT_EQ(host.calls[0].value, "");
}

class ImportTest : public ::testing::Test {
 protected:
  MemoryFiles files;
  ScriptedPrompts prompts;
  DesignList list = listOf({"A"});
  std::string importDir = "C:\\start\\";
};

TEST_F(ImportTest, AppendsUnderUniqueNamesAndRemembersTheFolder) {
  files.files["D:\\designs\\two.dsg"] = "[1]\r\nName=A\r\nCols=2\r\n[2]\r\nName=B\r\n";
  prompts.files.push_back("D:\\designs\\two.dsg");
  ASSERT_TRUE(importDesigns(list, importDir, prompts, files, kCollation));
  EXPECT_EQ(prompts.fileFolders, std::vector<std::string>{"C:\\start\\"});
  ASSERT_EQ(list.count(), 3u);
  EXPECT_EQ(list.name(1), "A2");
  EXPECT_EQ(list.design(1).intValues[21], 2);
  EXPECT_EQ(list.name(2), "B");
  EXPECT_EQ(prompts.informed, std::vector<std::string>{"\"A2\"\r\n\"B\"\r\nをインポートしました。"});
  EXPECT_EQ(importDir, "D:\\designs\\");
}

TEST_F(ImportTest, AFileWithoutDesignsStillCounts) {
  files.files["D:\\表\\none.dsg"] = "[Main]\r\nLeft=3\r\n";
  prompts.files.push_back("D:\\表\\none.dsg");
  EXPECT_TRUE(importDesigns(list, importDir, prompts, files, kCollation));
  EXPECT_EQ(list.count(), 1u);
  EXPECT_EQ(prompts.informed, std::vector<std::string>{"をインポートしました。"});
  EXPECT_EQ(importDir, "D:\\表\\");
}

TEST_F(ImportTest, CancelChangesNothing) {
  EXPECT_FALSE(importDesigns(list, importDir, prompts, files, kCollation));
  EXPECT_EQ(list.count(), 1u);
  EXPECT_EQ(importDir, "C:\\start\\");
  EXPECT_TRUE(prompts.informed.empty());
}

TEST_F(ImportTest, AnUnreadableFileAppendsNothing) {
  files.unreadable.insert("D:\\x.dsg");
  prompts.files.push_back("D:\\x.dsg");
  EXPECT_THROW(importDesigns(list, importDir, prompts, files, kCollation), FileError);
  EXPECT_EQ(list.count(), 1u);
  EXPECT_EQ(importDir, "C:\\start\\");
  EXPECT_TRUE(prompts.informed.empty());
}

}  // namespace
}  // namespace lumisk
