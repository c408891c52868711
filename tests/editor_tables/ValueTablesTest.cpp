#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "editor/ValueTables.h"

namespace lumisk {
namespace {

TEST(RowTable, EveryKeyHasExactlyOneRowAndHeadingsCountTheirGroups) {
  std::multiset<int> keys;
  int groupStart = -1;
  for (int row = 0; row < kRowCount; ++row) {
    const RowEntry& e = rowEntry(row);
    const std::string caption(rowCaption(row));
    if (e.kind == RowKind::Heading) {
      EXPECT_EQ(caption.rfind("◆ ", 0), 0u) << row;
      // The heading's count reaches exactly to the next heading (or the end).
      int next = row + 1;
      while (next < kRowCount && rowEntry(next).kind != RowKind::Heading) ++next;
      EXPECT_EQ(e.index, next - row - 1) << caption;
      groupStart = row;
    } else {
      EXPECT_EQ(caption.rfind("   ", 0), 0u) << row;
      EXPECT_GE(groupStart, 0) << "value row before any heading";
      keys.insert(*rowKeyIndex(row));
    }
  }
  ASSERT_EQ(keys.size(), static_cast<std::size_t>(kKeyCount));
  for (int k = 0; k < kKeyCount; ++k) EXPECT_EQ(keys.count(k), 1u) << "key " << k;
  EXPECT_EQ(rowKeyIndex(25), kIntKeyCount);  // the wallpaper row
}

TEST(KeyTypeTable, OptionRangesStayInsideTheirOwnGroupOfTexts) {
  for (int k = 0; k < kKeyCount; ++k) {
    const KeyType& t = keyType(k);
    if (t.type != ValueType::Enumeration && t.type != ValueType::SizeList) continue;
    ASSERT_GE(t.param1, 0);
    ASSERT_LE(t.param1 + t.param2, kOptionTextCount) << k;
    for (int i = t.param1; i < t.param1 + t.param2; ++i) {
      const std::string_view text = optionText(i);
      ASSERT_FALSE(text.empty());
      if (t.type == ValueType::SizeList) {
        EXPECT_EQ(optionIcon(text), kNoIcon);
        EXPECT_EQ(std::string(optionLabel(text)), " " + std::to_string(8 + 4 * (i - t.param1)));
      } else {
        EXPECT_NE(optionIcon(text), kNoIcon) << text;
        EXPECT_EQ(optionLabel(text).size() + 1, text.size());
      }
    }
  }
}

struct DisplayCase {
  const char* what;
  int row;
  int32_t value;           // integer rows
  const char* wallPaper;   // wallpaper row
  std::string text;
  int icon;
  std::optional<uint32_t> swatch;
  bool pathEllipsis;
};

class DisplayValueTest : public ::testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayValueTest, ShowsTheValueInTheFormOfItsKind) {
  const DisplayCase& c = GetParam();
  TDesign design = TDesign::unset();
  const RowEntry& e = rowEntry(c.row);
  if (e.kind == RowKind::Integer) design.intValues[static_cast<std::size_t>(e.index)] = c.value;
  if (e.kind == RowKind::WallPaper) design.wallPaper() = c.wallPaper;
  const auto shown = displayValue(design, c.row);
  ASSERT_TRUE(shown.has_value()) << c.what;
  EXPECT_EQ(shown->text, c.text) << c.what;
  EXPECT_EQ(shown->icon, c.icon) << c.what;
  EXPECT_EQ(shown->swatch, c.swatch) << c.what;
  EXPECT_EQ(shown->pathEllipsis, c.pathEllipsis) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DisplayValueTest,
    ::testing::Values(
        DisplayCase{"unset enumeration", 15, -1, "", "-", kNoIcon, std::nullopt, false},
        DisplayCase{"unset colour", 4, -1, "", "-", kNoIcon, std::nullopt, false},
        DisplayCase{"unset number", 1, -1, "", "-", kNoIcon, std::nullopt, false},
        DisplayCase{"red button colour", 4, 255, "", "000000FF", kNoIcon, 255u, false},
        DisplayCase{"white workspace", 24, 16777215, "", "00FFFFFF", kNoIcon, 0xFFFFFFu, false},
        DisplayCase{"colour with flag bits", 28, -16777216, "", "FF000000", kNoIcon, 0xFF000000u, false},
        DisplayCase{"drag bar on top", 15, 2, "", "上に表示", 5, std::nullopt, false},
        DisplayCase{"caption below icon", 9, 1, "", "アイコンの下に表示", 7, std::nullopt, false},
        DisplayCase{"vertical arrangement", 26, 1, "", "縦方向に配置", 3, std::nullopt, false},
        DisplayCase{"on", 5, 1, "", "オン", 1, std::nullopt, false},
        DisplayCase{"off", 5, 0, "", "オフ", 0, std::nullopt, false},
        DisplayCase{"width not in the size list", 6, 30, "", "30", kNoIcon, std::nullopt, false},
        DisplayCase{"enumeration past its options", 15, 5, "", "5", kNoIcon, std::nullopt, false},
        DisplayCase{"on/off past its options", 20, 2, "", "2", kNoIcon, std::nullopt, false},
        DisplayCase{"negative enumeration", 26, -2, "", "-2", kNoIcon, std::nullopt, false},
        DisplayCase{"number", 30, 0, "", "0", kNoIcon, std::nullopt, false},
        DisplayCase{"empty wallpaper", 25, 0, "", "なし", kNoIcon, std::nullopt, true},
        DisplayCase{"unset wallpaper", 25, 0, "-", "-", kNoIcon, std::nullopt, true},
        DisplayCase{"wallpaper path", 25, 0, "C:\\表\\ソ.bmp", "C:\\表\\ソ.bmp", kNoIcon, std::nullopt, true}));

TEST(DisplayValue, HeadingRowsShowNothing) {
  const TDesign design = TDesign::unset();
  for (int row = 0; row < kRowCount; ++row)
    EXPECT_EQ(displayValue(design, row).has_value(), rowEntry(row).kind != RowKind::Heading) << row;
}

TEST(TrimmedCaption, DropsBlanksOnBothSides) {
  EXPECT_EQ(trimmedCaption("   幅"), "幅");
  EXPECT_EQ(trimmedCaption("  a b  "), "a b");
  EXPECT_EQ(trimmedCaption("   "), "");
}

}  // namespace
}  // namespace lumisk
