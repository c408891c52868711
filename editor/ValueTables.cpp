#include "editor/ValueTables.h"

#include <cstdio>
#include <stdexcept>

#include "store/IntegerText.h"

namespace lumisk {
namespace {

struct Row {
  std::string_view caption;
  RowEntry entry;
};

constexpr RowKind H = RowKind::Heading;
constexpr RowKind I = RowKind::Integer;

const std::array<Row, kRowCount> kRows = {{
    {"◆ パッドサイズ", {H, 2}},
    {"   幅", {I, 21}},
    {"   高さ", {I, 22}},
    {"◆ ボタン", {H, 7}},
    {"   色", {I, 14}},
    {"   透明", {I, 17}},
    {"   幅", {I, 10}},
    {"   高さ", {I, 11}},
    {"   幅と高さの統一", {I, 9}},
    {"   ボタン名", {I, 12}},
    {"   小さいアイコンを使う", {I, 8}},
    {"◆ 選択されたボタン", {H, 2}},
    {"   色", {I, 15}},
    {"   ボタンを覆う", {I, 18}},
    {"◆ ドラッグバー", {H, 3}},
    {"   位置", {I, 1}},
    {"   ボタングループ名", {I, 2}},
    {"   サイズ", {I, 3}},
    {"◆ スクロールバー", {H, 4}},
    {"   位置", {I, 4}},
    {"   スクロールボタン", {I, 5}},
    {"   グループ切り替えボタン", {I, 6}},
    {"   サイズ", {I, 7}},
    {"◆ ワークスペース", {H, 3}},
    {"   色", {I, 13}},
    {"   壁紙", {RowKind::WallPaper, 0}},
    {"   ボタンの配置", {I, 0}},
    {"◆ 隠れている状態", {H, 3}},
    {"   色", {I, 16}},
    {"   ボタングループ名", {I, 19}},
    {"   サイズ", {I, 20}},
}};

std::array<std::string, kOptionTextCount> makeOptionTexts() {
  std::array<std::string, kOptionTextCount> texts = {
      "2横方向に配置", "3縦方向に配置", "0表示しない", "4左に表示", "5上に表示", "6右に表示", "7下に表示",
      "0オフ", "1オン", "0表示しない", "7アイコンの下に表示", "6アイコンの右に表示"};
  for (int i = 0; i < kSizeOptionCount; ++i) {
    std::string size(1, ' ');
    size += std::to_string(sizeListValue(i));
    texts[kSizeOptionFirst + i] = std::move(size);
  }
  return texts;
}

const std::array<std::string, kOptionTextCount>& optionTexts() {
  static const auto texts = makeOptionTexts();
  return texts;
}

std::string hex8(int32_t v) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(static_cast<uint32_t>(v)));
  return buf;
}

}  // namespace

const RowEntry& rowEntry(int row) { return kRows.at(static_cast<std::size_t>(row)).entry; }
std::string_view rowCaption(int row) { return kRows.at(static_cast<std::size_t>(row)).caption; }
std::string_view optionText(int index) { return optionTexts().at(static_cast<std::size_t>(index)); }

int optionIcon(std::string_view text) {
  if (text.empty() || text[0] < '0' || text[0] > '7') return kNoIcon;
  return text[0] - '0';
}

std::string_view optionLabel(std::string_view text) {
  return optionIcon(text) == kNoIcon ? text : text.substr(1);
}

std::optional<int> rowKeyIndex(int row) {
  const RowEntry& e = rowEntry(row);
  switch (e.kind) {
    case RowKind::Heading: return std::nullopt;
    case RowKind::Integer: return e.index;
    case RowKind::WallPaper: return kIntKeyCount + e.index;
  }
  return std::nullopt;
}

std::optional<ValueDisplay> displayValue(const TDesign& design, int row) {
  const RowEntry& e = rowEntry(row);
  ValueDisplay d;
  if (e.kind == RowKind::Heading) return std::nullopt;
  if (e.kind == RowKind::WallPaper) {
    const std::string& wall = design.textValues.at(static_cast<std::size_t>(e.index));
    d.text = wall.empty() ? std::string("なし") : wall;
    d.pathEllipsis = true;
    return d;
  }
  const int32_t v = design.intValues.at(static_cast<std::size_t>(e.index));
  if (v == kUnsetInt) {
    d.text = "-";
    return d;
  }
  const KeyType& t = keyType(e.index);
  switch (t.type) {
    case ValueType::Enumeration:
      // A value read from a file may lie outside the key's options: it is shown as it is, and never
      // borrows another key's option.
      if (v >= 0 && v < t.param2) {
        const std::string_view option = optionText(t.param1 + v);
        d.icon = optionIcon(option);
        d.text = std::string(optionLabel(option));
      } else {
        d.text = formatInteger(v);
      }
      break;
    case ValueType::Colour:
      d.swatch = static_cast<uint32_t>(v);
      d.text = hex8(v);
      break;
    case ValueType::SizeList:
    case ValueType::Number:
    case ValueType::FilePath:
      d.text = formatInteger(v);
      break;
  }
  return d;
}

std::string trimmedCaption(std::string_view caption) {
  std::size_t first = 0, last = caption.size();
  while (first < last && caption[first] == ' ') ++first;
  while (last > first && caption[last - 1] == ' ') --last;
  return std::string(caption.substr(first, last - first));
}

}  // namespace lumisk
