#include "host/PadBoard.h"

#include <charconv>
#include <stdexcept>

namespace lumisk::host {
namespace {

// Settings in catalogue order, one row per pad: BtnVertical DragBar GroupName DragBarSize ScrollBar
// ScrollBtn GroupBtn ScrollSize BtnSmallIcon BtnSquare BtnWidth BtnHeight BtnCaption BackColor BtnColor
// BtnFocusColor HideColor BtnTransparent BtnSelTransparent HideGroupName HideSize Cols Rows.
// Colours are 0x00BBGGRR.
constexpr std::array<std::array<int32_t, kIntKeyCount>, 3> kStartValues = {{
    {0, 2, 1, 14, 0, 1, 0, 12, 0, 0, 40, 40, 1, 0xE0E0E0, 0xF4F4F4, 0x00C0FF, 0x808080, 0, 0, 1, 4, 5, 2},
    {1, 1, 0, 8, 3, 1, 1, 16, 1, 1, 28, 28, 0, 0x503010, 0x907050, 0x40C0FF, 0x503010, 0, 1, 0, 2, 6, 3},
    {0, 4, 1, 18, 2, 0, 0, 10, 0, 0, 64, 24, 2, 0xD8F0E0, 0xB0E0C0, 0x60A070, 0xD8F0E0, 1, 0, 1, 8, 3, 4},
}};
// The second pad's wallpaper holds 表 (95 5C): its second byte is a backslash.
constexpr std::array<const char*, 3> kStartWallPapers = {"", "C:\\壁紙\\表紙.bmp", ""};
constexpr std::array<const char*, 3> kPadNames = {"パッド1", "パッド2", "パッド3"};
constexpr std::array<const char*, 3> kGroupNames = {"よく使う", "仕事", "趣味"};

// The pad's sizes: a pad of no columns or of zero-wide buttons cannot be shown.
constexpr bool isSize(int keyIndex) { return keyIndex == 10 || keyIndex == 11 || keyIndex == 21 || keyIndex == 22; }

std::optional<int32_t> plainDecimal(std::string_view text) {
  const std::string_view digits = text.starts_with('-') ? text.substr(1) : text;
  if (digits.empty() || (digits.size() > 1 && digits[0] == '0') || text == "-0") return std::nullopt;
  for (char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

int32_t Pad::integer(int keyIndex, int32_t fallback) const {
  return plainDecimal(values.at(static_cast<std::size_t>(keyIndex))).value_or(fallback);
}

PadBoard::PadBoard() {
  for (std::size_t p = 0; p < kStartValues.size(); ++p) {
    Pad pad;
    pad.id = 101 + static_cast<int32_t>(p);
    pad.clickValue = 11 + static_cast<int32_t>(p);
    pad.name = kPadNames[p];
    pad.group = kGroupNames[p];
    for (int k = 0; k < kIntKeyCount; ++k) pad.values[static_cast<std::size_t>(k)] = std::to_string(kStartValues[p][static_cast<std::size_t>(k)]);
    pad.values[kIntKeyCount] = kStartWallPapers[p];
    pads_.push_back(std::move(pad));
  }
}

std::size_t PadBoard::index(int keyIndex) {
  if (keyIndex < 0 || keyIndex >= kKeyCount) throw std::out_of_range("設定名が不正です。");
  return static_cast<std::size_t>(keyIndex);
}

const Pad* PadBoard::findId(int32_t id) const {
  for (const Pad& pad : pads_)
    if (pad.id == id) return &pad;
  return nullptr;
}

Pad* PadBoard::byId(int32_t id) { return const_cast<Pad*>(findId(id)); }

Pad* PadBoard::byNumber(int number) {
  if (number < 1 || number > static_cast<int>(pads_.size())) return nullptr;
  return &pads_[static_cast<std::size_t>(number - 1)];
}

int32_t PadBoard::idForValue(int32_t value) const {
  for (const Pad& pad : pads_)
    if (pad.clickValue == value) return pad.id;
  return 0;
}

int PadBoard::keyIndex(std::string_view key) {
  for (int k = 0; k < kKeyCount; ++k)
    if (keyName(k) == key) return k;
  return -1;
}

bool PadBoard::acceptable(int keyIndex, std::string_view value) {
  if (keyIndex >= kIntKeyCount) return true;
  const auto number = plainDecimal(value);
  return number && (!isSize(keyIndex) || *number >= 1);
}

PadOutcome PadBoard::get(int32_t pad, std::string_view key, std::string& value) const {
  const Pad* found = findId(pad);
  if (!found) return PadOutcome::UnknownPad;
  const int k = keyIndex(key);
  if (k < 0) return PadOutcome::UnknownKey;
  const Fault& fault = faults_[static_cast<std::size_t>(k)];
  if (fault.failGet) return PadOutcome::Failed;
  value = fault.fakeGet ? *fault.fakeGet : found->values[static_cast<std::size_t>(k)];
  return PadOutcome::Done;
}

PadOutcome PadBoard::set(int32_t pad, std::string_view key, std::string_view value) {
  Pad* found = byId(pad);
  if (!found) return PadOutcome::UnknownPad;
  const int k = keyIndex(key);
  if (k < 0) return PadOutcome::UnknownKey;
  if (faults_[static_cast<std::size_t>(k)].refuse) return PadOutcome::Refused;
  if (!acceptable(k, value)) return PadOutcome::Invalid;
  found->values[static_cast<std::size_t>(k)] = std::string(value);
  return PadOutcome::Done;
}

const char* outcomeText(PadOutcome outcome) {
  switch (outcome) {
    case PadOutcome::Done: return "done";
    case PadOutcome::UnknownPad: return "unknown pad";
    case PadOutcome::UnknownKey: return "unknown setting";
    case PadOutcome::Invalid: return "value not valid";
    case PadOutcome::Refused: return "refused";
    case PadOutcome::Failed: return "failed";
    case PadOutcome::BufferTooSmall: return "buffer too small";
  }
  return "?";
}

}  // namespace lumisk::host
