#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/ScriptedValueDialogs.h"
#include "editor/value/ValueEdit.h"
#include "tests/support/Fakes.h"

namespace lumisk {
namespace {

using testing::ScriptedPrompts;

// Rows of the value list used below, with the key each one shows.
constexpr int kRowPadHeading = 0;     // "◆ パッドサイズ", the first row of the list
constexpr int kRowCols = 1;           // Cols, number 1..200
constexpr int kRowRows = 2;           // Rows, number 1..150
constexpr int kRowButtonHeading = 3;  // "◆ ボタン", seven rows
constexpr int kRowBtnWidth = 6;       // size list
constexpr int kRowBtnCaption = 9;     // enumeration, three options
constexpr int kRowSelectedHeading = 11;  // "◆ 選択されたボタン", two rows
constexpr int kRowDragBarHeading = 14;
constexpr int kRowWorkspaceHeading = 23;
constexpr int kRowBackColor = 24;
constexpr int kRowWallPaper = 25;
constexpr int kRowHiddenHeading = 27;
constexpr int kRowHideSize = 30;      // number 0..100, the last row of the list

constexpr int kCols = 21, kDragBar = 1, kGroupName = 2, kDragBarSize = 3, kBtnWidth = 10, kBtnHeight = 11,
              kBtnCaption = 12, kBackColor = 13, kBtnColor = 14, kBtnTransparent = 17, kHideSize = 20,
              kRows = 22;

RowSelection select(std::initializer_list<int> rows) {
  RowSelection s{};
  for (const int r : rows) s[static_cast<std::size_t>(r)] = true;
  return s;
}

const std::string kQuestionEnd = "の設定値を消去してもよろしいですか？";

// ---- Clear ----------------------------------------------------------------------------------------

TEST(ClearCommand, RowAndHeadingGiveOneLineEachSetValue) {
  TDesign d = TDesign::unset();
  d.intValues[kCols] = 10;
  d.intValues[kDragBar] = 2;
  d.intValues[kGroupName] = 1;
  d.intValues[kRows] = 5;  // set, but its row is not selected
  const auto plan = planClear(d, select({kRowCols, kRowDragBarHeading}));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->question,
            "\"幅\"\r\n\"ドラッグバー：位置\"\r\n\"ドラッグバー：ボタングループ名\"\r\n" + kQuestionEnd);
  EXPECT_EQ(plan->rows, (std::vector<int>{kRowCols, 15, 16}));
}

TEST(ClearCommand, RowSelectedWithItsHeadingIsListedOnceInGroupForm) {
  TDesign d = TDesign::unset();
  d.intValues[kBackColor] = 0xFF;
  const auto plan = planClear(d, select({kRowWorkspaceHeading, kRowBackColor}));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->question, "\"ワークスペース：色\"\r\n" + kQuestionEnd);
  EXPECT_EQ(plan->rows, std::vector<int>{kRowBackColor});
}

TEST(ClearCommand, HeadingListsOnlyTheSetValuesOfItsGroup) {
  TDesign d = TDesign::unset();
  d.intValues[kBtnColor] = 0;  // black is a set value
  d.intValues[kBtnCaption] = 2;
  d.intValues[kDragBarSize] = 20;  // another group
  const auto plan = planClear(d, select({kRowButtonHeading}));
  ASSERT_TRUE(plan);
  EXPECT_EQ(plan->question, "\"ボタン：色\"\r\n\"ボタン：ボタン名\"\r\n" + kQuestionEnd);
  applyClear(d, *plan);
  EXPECT_EQ(d.intValues[kBtnColor], kUnsetInt);
  EXPECT_EQ(d.intValues[kBtnCaption], kUnsetInt);
  EXPECT_EQ(d.intValues[kDragBarSize], 20);
}

TEST(ClearCommand, EmptyWallPaperIsSetAndClearsToTheSentinel) {
  TDesign d = TDesign::unset();
  d.wallPaper() = "";
  ScriptedPrompts prompts;
  prompts.confirms.push_back(true);
  EXPECT_TRUE(clearValues(d, select({kRowWallPaper}), prompts));
  EXPECT_EQ(prompts.confirmed, std::vector<std::string>{"\"壁紙\"\r\n" + kQuestionEnd});
  EXPECT_EQ(d, TDesign::unset());
}

TEST(ClearCommand, NothingSetSelectedAsksNothing) {
  TDesign d = TDesign::unset();
  d.intValues[kCols] = 3;  // set but not selected
  const TDesign before = d;
  ScriptedPrompts prompts;
  prompts.confirms.push_back(true);
  EXPECT_FALSE(clearValues(d, select({kRowDragBarHeading, kRowWallPaper, kRowRows}), prompts));
  EXPECT_FALSE(clearValues(d, RowSelection{}, prompts));
  EXPECT_TRUE(prompts.confirmed.empty());
  EXPECT_EQ(d, before);
}

TEST(ClearCommand, CancelKeepsEveryValue) {
  TDesign d = TDesign::unset();
  d.intValues[kHideSize] = 0;
  d.wallPaper() = "C:\\a.bmp";
  const TDesign before = d;
  ScriptedPrompts prompts;
  prompts.confirms.push_back(false);
  EXPECT_FALSE(clearValues(d, select({kRowHideSize, kRowWallPaper}), prompts));
  EXPECT_EQ(prompts.confirmed.size(), 1u);
  EXPECT_EQ(d, before);
}

// A heading stands for its whole group, wherever it lies, and the walk goes on after that group: each
// set value is cleared once, however the selection overlaps.
struct HeadingCase {
  const char* what;
  std::vector<int> selected;
  std::vector<int> cleared;  // rows, in list order, of a design with every value set
};

class ClearHeadingTest : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(ClearHeadingTest, ClearsEachGroupOnce) {
  const auto& c = GetParam();
  TDesign d = TDesign::unset();
  for (auto& v : d.intValues) v = 1;
  d.wallPaper() = "C:\\a.bmp";
  RowSelection selected{};
  for (const int r : c.selected) selected[static_cast<std::size_t>(r)] = true;
  const auto plan = planClear(d, selected);
  ASSERT_TRUE(plan) << c.what;
  EXPECT_EQ(plan->rows, c.cleared) << c.what;
  applyClear(d, *plan);
  for (int row = 0; row < kRowCount; ++row) {
    const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), row) != c.cleared.end();
    EXPECT_EQ(isValueSet(d, row), rowEntry(row).kind != RowKind::Heading && !cleared) << c.what << " row " << row;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Selections, ClearHeadingTest,
    ::testing::Values(HeadingCase{"the first row of the list is a heading", {kRowPadHeading}, {kRowCols, kRowRows}},
                      HeadingCase{"a heading with the last row of its group", {kRowHiddenHeading, kRowHideSize},
                                  {28, 29, kRowHideSize}},
                      HeadingCase{"two headings of adjacent groups", {kRowSelectedHeading, kRowDragBarHeading},
                                  {12, 13, 15, 16, 17}}));

// ---- List, size list and number values ------------------------------------------------------------

struct ListCase {
  const char* what;
  int key;
  int32_t value;
  int selected;  // option shown selected
};

class ListSelectionTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListSelectionTest, OpensOnTheValuesOption) {
  const auto& c = GetParam();
  EXPECT_EQ(listSelection(keyType(c.key), c.value), c.selected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ListSelectionTest,
    ::testing::Values(ListCase{"enumeration", kBtnCaption, 2, 2},
                      ListCase{"enumeration unset", kBtnCaption, -1, -1},
                      ListCase{"on/off never borrows the next key's options", kBtnTransparent, 2, -1},
                      ListCase{"size between two listed sizes", kBtnWidth, 30, 5},
                      ListCase{"just past the largest", kBtnHeight, 131, 30},
                      ListCase{"beyond the list", kBtnHeight, 200, -1},
                      ListCase{"below 8 truncates toward zero", kBtnWidth, 5, 0},
                      ListCase{"size unset", kBtnWidth, -1, -1},
                      ListCase{"sizes far out of range", kBtnWidth, INT32_MIN, -1},
                      ListCase{"sizes far out of range", kBtnHeight, INT32_MAX, -1}));

TEST(ListValues, StoredValues) {
  EXPECT_EQ(listStoredValue(keyType(kBtnCaption), 0), 0);
  EXPECT_EQ(listStoredValue(keyType(kBtnCaption), -1), kUnsetInt);
  EXPECT_EQ(listStoredValue(keyType(kBtnWidth), 5), 28);
  EXPECT_EQ(listStoredValue(keyType(kBtnWidth), 30), 128);
  EXPECT_EQ(listStoredValue(keyType(kBtnWidth), -1), kUnsetInt);
}

TEST(NumberValues, StartIsHeldWithinTheRange) {
  EXPECT_EQ(numberStart(keyType(kRows), 300), 150);
  EXPECT_EQ(numberStart(keyType(kHideSize), -1), 0);
  EXPECT_EQ(numberStart(keyType(kDragBarSize), -1), 4);
  EXPECT_EQ(numberStart(keyType(kCols), 77), 77);
  EXPECT_EQ(numberStart(keyType(kCols), INT32_MIN), 1);
}

struct NumberCase {
  const char* what;
  int key;
  const char* text;
  int position;
  int32_t stored;
};

class NumberStoredTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberStoredTest, TypedNumberOrLastValidPosition) {
  const auto& c = GetParam();
  EXPECT_EQ(numberStoredValue(keyType(c.key), c.text, c.position), c.stored) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NumberStoredTest,
    ::testing::Values(NumberCase{"typed within the range", kRows, "75", 10, 75},
                      NumberCase{"leading zeros", kRows, "007", 10, 7},
                      NumberCase{"emptied field is 0 where 0 is in the range", kHideSize, "", 40, 0},
                      NumberCase{"emptied field keeps the position elsewhere", kCols, "", 40, 40},
                      NumberCase{"beyond the maximum", kRows, "151", 12, 12},
                      NumberCase{"below the minimum", kCols, "0", 3, 3},
                      NumberCase{"the minimum typed exactly", kCols, "1", 9, 1},
                      NumberCase{"where an emptied field is 0, a typed number", kHideSize, "100", 40, 100},
                      NumberCase{"pasted letters", kCols, "12a", 9, 9},
                      NumberCase{"very long digits", kCols, "99999999999999999999999", 9, 9},
                      NumberCase{"position outside the range is held in it", kRows, "", 300, 150}));

// ---- The modify command ---------------------------------------------------------------------------

ValueFormResult chose(int selected) { return ValueFormResult{selected, "", 0}; }

TEST(ModifyCommand, UnsetEnumerationConfirmedWithoutChoiceStaysUnsetButCounts) {
  TDesign d = TDesign::unset();
  ScriptedValueDialogs dialogs;
  dialogs.valueAnswers.push_back(chose(-1));
  EXPECT_TRUE(modifyValue(d, kRowBtnCaption, dialogs));
  EXPECT_EQ(dialogs.valueForms.at(0).selected, -1);
  EXPECT_EQ(d, TDesign::unset());
}

TEST(ModifyCommand, NumberStartsWithinTheRangeAndStoresTheAnswer) {
  TDesign d = TDesign::unset();
  d.intValues[kRows] = 300;
  ScriptedValueDialogs dialogs;
  dialogs.valueAnswers.push_back(ValueFormResult{-1, "abc", 149});
  EXPECT_TRUE(modifyValue(d, kRowRows, dialogs));
  const ValueFormSetup& s = dialogs.valueForms.at(0);
  EXPECT_EQ(s.mode, ValueFormMode::Number);
  EXPECT_EQ(s.item, "高さ");
  EXPECT_EQ(s.minimum, 1);
  EXPECT_EQ(s.maximum, 150);
  EXPECT_EQ(s.start, 150);
  EXPECT_EQ(d.intValues[kRows], 149);
}

TEST(ModifyCommand, WallPaperStoresTheFieldUntrimmed) {
  TDesign d = TDesign::unset();
  ScriptedValueDialogs dialogs;
  dialogs.valueAnswers = {ValueFormResult{-1, "", 0}, ValueFormResult{-1, " C:\\壁紙\\表.bmp ", 0}};
  EXPECT_TRUE(modifyValue(d, kRowWallPaper, dialogs));
  EXPECT_EQ(dialogs.valueForms.at(0).mode, ValueFormMode::Path);
  EXPECT_EQ(dialogs.valueForms.at(0).text, "-");
  EXPECT_EQ(d.wallPaper(), "");
  EXPECT_TRUE(modifyValue(d, kRowWallPaper, dialogs));
  EXPECT_EQ(dialogs.valueForms.at(1).text, "");
  EXPECT_EQ(d.wallPaper(), " C:\\壁紙\\表.bmp ");
}

TEST(ModifyCommand, CancelStoresNothingAndAsksNoRepaint) {
  TDesign d = TDesign::unset();
  d.intValues[kBtnCaption] = 1;
  d.intValues[kCols] = 4;
  d.wallPaper() = "a.bmp";
  const TDesign before = d;
  ScriptedValueDialogs dialogs;  // every answer is a cancel
  for (const int row : {kRowBtnCaption, kRowCols, kRowWallPaper, kRowBtnWidth}) {
    EXPECT_FALSE(modifyValue(d, row, dialogs)) << row;
  }
  EXPECT_EQ(dialogs.valueForms.size(), 4u);
  EXPECT_EQ(d, before);
}

TEST(ModifyCommand, HeadingRowOpensNothing) {
  TDesign d = TDesign::unset();
  ScriptedValueDialogs dialogs;
  dialogs.valueAnswers.push_back(chose(0));
  EXPECT_FALSE(modifyValue(d, kRowButtonHeading, dialogs));
  EXPECT_FALSE(modifyValue(d, -1, dialogs));
  EXPECT_FALSE(modifyValue(d, kRowCount, dialogs));
  EXPECT_TRUE(dialogs.valueForms.empty());
  EXPECT_TRUE(dialogs.colourStarts.empty());
}

struct ColourCase {
  const char* what;
  int32_t value;
  uint32_t start;
  std::optional<uint32_t> answer;
  int32_t stored;
};

class ColourTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourTest, DialogStartsAndStores) {
  const auto& c = GetParam();
  TDesign d = TDesign::unset();
  d.intValues[kBackColor] = c.value;
  ScriptedValueDialogs dialogs;
  dialogs.colourAnswers.push_back(c.answer);
  // Confirmed or cancelled, the list is repainted and the change counted.
  EXPECT_TRUE(modifyValue(d, kRowBackColor, dialogs)) << c.what;
  EXPECT_TRUE(dialogs.valueForms.empty());
  EXPECT_EQ(dialogs.colourStarts, std::vector<uint32_t>{c.start}) << c.what;
  EXPECT_EQ(d.intValues[kBackColor], c.stored) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColourTest,
    ::testing::Values(ColourCase{"plain colour confirmed", 0xFF, 0xFF, 0x00FF00, 0x00FF00},
                      ColourCase{"plain colour cancelled", 0xFF, 0xFF, std::nullopt, 0xFF},
                      ColourCase{"unset starts at white", -1, 0xFFFFFF, 0x123456, 0x123456},
                      ColourCase{"unset cancelled stays unset", -1, 0xFFFFFF, std::nullopt, -1},
                      ColourCase{"flag byte is dropped for the start", static_cast<int32_t>(0x8000000F), 0x0F,
                                 std::nullopt, static_cast<int32_t>(0x8000000F)},
                      ColourCase{"a chosen colour never carries flag bits", 0, 0, 0xFF123456u, 0x123456}));

}  // namespace
}  // namespace lumisk
