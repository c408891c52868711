#include "editor/value/ValueEdit.h"

#include <algorithm>

namespace lumisk {
namespace {

constexpr std::string_view kClearQuestionEnd = "の設定値を消去してもよろしいですか？";
constexpr std::string_view kGroupSeparator = "：";  // full-width colon between group and row
// A heading caption starts with "◆" (two bytes) and a space; the group name follows.
constexpr std::size_t kHeadingPrefixBytes = 3;

int32_t& intValue(TDesign& design, const RowEntry& entry) {
  return design.intValues.at(static_cast<std::size_t>(entry.index));
}

std::string& textValue(TDesign& design, const RowEntry& entry) {
  return design.textValues.at(static_cast<std::size_t>(entry.index));
}

void addQuestionLine(std::string& question, std::string_view text) {
  question += '"';
  question += text;
  question += "\"\r\n";
}

// Value rows of a group that sit inside the table: a heading never reaches past the last row.
int groupEnd(int heading) {
  return std::min(heading + 1 + rowEntry(heading).index, kRowCount);
}

}  // namespace

std::vector<std::string> listOptions(const KeyType& type) {
  std::vector<std::string> options;
  options.reserve(static_cast<std::size_t>(type.param2));
  for (int i = 0; i < type.param2; ++i) options.emplace_back(optionText(type.param1 + i));
  return options;
}

int listSelection(const KeyType& type, int32_t v) {
  const int64_t index = type.type == ValueType::SizeList ? sizeListIndex(v) : int64_t{v};
  return index >= 0 && index < type.param2 ? static_cast<int>(index) : -1;
}

int32_t listStoredValue(const KeyType& type, int selected) {
  if (selected < 0 || selected >= type.param2) return kUnsetInt;
  return type.type == ValueType::SizeList ? sizeListValue(selected) : selected;
}

int numberStart(const KeyType& type, int32_t v) {
  return static_cast<int>(std::clamp<int32_t>(v, type.param1, type.param2));
}

int32_t numberStoredValue(const KeyType& type, std::string_view fieldText, int position) {
  // Only digits can be typed, but a pasted text may hold anything; it counts only when it is a plain
  // decimal number of the range. Parsing stops growing once past the maximum, so no length overflows.
  if (fieldText.empty() && type.param1 <= 0 && 0 <= type.param2) return 0;
  bool isNumber = !fieldText.empty() && fieldText.size() <= 16;
  int64_t typed = 0;
  for (const char c : fieldText) {
    if (c < '0' || c > '9') {
      isNumber = false;
      break;
    }
    typed = std::min<int64_t>(typed * 10 + (c - '0'), int64_t{1} << 40);
  }
  const int32_t chosen = isNumber && typed >= type.param1 && typed <= type.param2
                             ? static_cast<int32_t>(typed)
                             : std::clamp<int32_t>(position, type.param1, type.param2);
  // The spin control's position is a 16-bit signed number; every key's range lies well inside it.
  return static_cast<int16_t>(chosen);
}

uint32_t colourDialogStart(int32_t v) { return static_cast<uint32_t>(v) & 0x00FFFFFFu; }

bool modifyValue(TDesign& design, int row, ValueDialogs& dialogs) {
  if (row < 0 || row >= kRowCount) return false;
  const RowEntry& entry = rowEntry(row);
  if (entry.kind == RowKind::Heading) return false;

  ValueFormSetup setup;
  setup.item = trimmedCaption(rowCaption(row));

  if (entry.kind == RowKind::WallPaper) {
    std::string& wallPaper = textValue(design, entry);
    setup.mode = ValueFormMode::Path;
    setup.text = wallPaper;
    const auto result = dialogs.runValueForm(setup);
    if (!result) return false;
    wallPaper = result->text;
    return true;
  }

  int32_t& value = intValue(design, entry);
  const KeyType& type = keyType(entry.index);
  switch (type.type) {
    case ValueType::Enumeration:
    case ValueType::SizeList: {
      setup.mode = ValueFormMode::List;
      setup.options = listOptions(type);
      setup.selected = listSelection(type, value);
      const auto result = dialogs.runValueForm(setup);
      if (!result) return false;
      value = listStoredValue(type, result->selected);
      return true;
    }
    case ValueType::Number: {
      setup.mode = ValueFormMode::Number;
      setup.minimum = type.param1;
      setup.maximum = type.param2;
      setup.start = numberStart(type, value);
      const auto result = dialogs.runValueForm(setup);
      if (!result) return false;
      value = numberStoredValue(type, result->text, result->position);
      return true;
    }
    case ValueType::Colour: {
      // The colour dialog closes into a repaint either way: only a confirmed colour is stored.
      if (const auto colour = dialogs.runColourDialog(colourDialogStart(value))) {
        value = static_cast<int32_t>(*colour & 0x00FFFFFFu);
      }
      return true;
    }
    case ValueType::FilePath:
      break;  // only the wallpaper row has this type, and it is handled above
  }
  return false;
}

bool isValueSet(const TDesign& design, int row) {
  const RowEntry& entry = rowEntry(row);
  switch (entry.kind) {
    case RowKind::Heading: return false;
    case RowKind::Integer: return design.intValues.at(static_cast<std::size_t>(entry.index)) != kUnsetInt;
    case RowKind::WallPaper: return design.textValues.at(static_cast<std::size_t>(entry.index)) != kUnsetText;
  }
  return false;
}

std::optional<ClearPlan> planClear(const TDesign& design, const RowSelection& selected) {
  ClearPlan plan;
  for (int row = 0; row < kRowCount; ++row) {
    if (!selected[static_cast<std::size_t>(row)]) continue;
    if (rowEntry(row).kind != RowKind::Heading) {
      if (!isValueSet(design, row)) continue;
      plan.rows.push_back(row);
      addQuestionLine(plan.question, trimmedCaption(rowCaption(row)));
      continue;
    }
    // A heading stands for its whole group; its rows are named with the group, and the walk goes on
    // after the group so that a row selected together with its heading is listed once.
    const std::string_view heading = rowCaption(row);
    const std::string_view group = heading.substr(std::min(kHeadingPrefixBytes, heading.size()));
    const int end = groupEnd(row);
    for (int member = row + 1; member < end; ++member) {
      if (!isValueSet(design, member)) continue;
      plan.rows.push_back(member);
      std::string line(group);
      line += kGroupSeparator;
      line += trimmedCaption(rowCaption(member));
      addQuestionLine(plan.question, line);
    }
    row = end - 1;
  }
  if (plan.rows.empty()) return std::nullopt;
  plan.question += kClearQuestionEnd;
  return plan;
}

void applyClear(TDesign& design, const ClearPlan& plan) {
  for (const int row : plan.rows) {
    const RowEntry& entry = rowEntry(row);
    if (entry.kind == RowKind::Integer) intValue(design, entry) = kUnsetInt;
    if (entry.kind == RowKind::WallPaper) textValue(design, entry) = std::string(kUnsetText);
  }
}

bool clearValues(TDesign& design, const RowSelection& selected, Prompts& prompts) {
  const auto plan = planClear(design, selected);
  if (!plan || !prompts.confirm(plan->question)) return false;
  applyClear(design, *plan);
  return true;
}

}  // namespace lumisk
