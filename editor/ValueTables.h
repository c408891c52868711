// The editor's value list as data: its rows, their captions, the option texts, and the display form of
// one value. What each key may hold is store/ValueRules.h. Portable: no window is needed to know what a
// row shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/Design.h"
#include "store/ValueRules.h"

namespace lumisk {

enum class RowKind : int32_t { Heading = 0, Integer = 1, WallPaper = 2 };

struct RowEntry {
  RowKind kind;
  // Heading: number of value rows in its group. Integer: key index. WallPaper: text index 0.
  int32_t index;
};

inline constexpr int kRowCount = 31;
inline constexpr int kIconSize = 14;
inline constexpr int kNoIcon = -1;

const RowEntry& rowEntry(int row);
// The row caption as the value list holds it, leading blanks or "◆ " included.
std::string_view rowCaption(int row);
std::string_view optionText(int index);

// Icon digit of an option text ("0".."7"), or kNoIcon for a leading blank.
int optionIcon(std::string_view optionText);
// The option text without its icon digit (size texts keep their leading blank).
std::string_view optionLabel(std::string_view optionText);

// Key index (0..23) of a value row; std::nullopt for a heading.
std::optional<int> rowKeyIndex(int row);

// What the value column shows for one row of a design.
struct ValueDisplay {
  std::string text;
  int icon = kNoIcon;                // image list index drawn before the text
  std::optional<uint32_t> swatch;    // colour square (0x00BBGGRR) drawn before the text
  bool pathEllipsis = false;         // middle of the text elided instead of its end
};

// Display of `row` for `design`; std::nullopt for a heading row.
std::optional<ValueDisplay> displayValue(const TDesign& design, int row);

// A caption without its leading and trailing blanks ("   幅" -> "幅").
std::string trimmedCaption(std::string_view caption);

}  // namespace lumisk
