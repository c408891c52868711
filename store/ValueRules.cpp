#include "store/ValueRules.h"

#include <array>

#include "store/Design.h"

namespace lumisk {
namespace {

constexpr ValueType E = ValueType::Enumeration;
constexpr ValueType N = ValueType::Number;
constexpr ValueType C = ValueType::Colour;

constexpr std::array<KeyType, kKeyCount> kKeyTypes = {{
    {E, 0, 2},    // BtnVertical
    {E, 2, 5},    // DragBar
    {E, 7, 2},    // GroupName
    {N, 4, 100},  // DragBarSize
    {E, 2, 5},    // ScrollBar
    {E, 7, 2},    // ScrollBtn
    {E, 7, 2},    // GroupBtn
    {N, 4, 100},  // ScrollSize
    {E, 7, 2},    // BtnSmallIcon
    {E, 7, 2},    // BtnSquare
    {ValueType::SizeList, kSizeOptionFirst, kSizeOptionCount},  // BtnWidth
    {ValueType::SizeList, kSizeOptionFirst, kSizeOptionCount},  // BtnHeight
    {E, 9, 3},    // BtnCaption
    {C, 0, 0},    // BackColor
    {C, 0, 0},    // BtnColor
    {C, 0, 0},    // BtnFocusColor
    {C, 0, 0},    // HideColor
    {E, 7, 2},    // BtnTransparent
    {E, 7, 2},    // BtnSelTransparent
    {E, 7, 2},    // HideGroupName
    {N, 0, 100},  // HideSize
    {N, 1, 200},  // Cols
    {N, 1, 150},  // Rows
    {ValueType::FilePath, 0, 0},  // WallPaper
}};

}  // namespace

const KeyType& keyType(int keyIndex) { return kKeyTypes.at(static_cast<std::size_t>(keyIndex)); }

bool isOfferedValue(int keyIndex, int32_t v) {
  const KeyType& t = keyType(keyIndex);
  switch (t.type) {
    case ValueType::Enumeration: return v >= 0 && v < t.param2;
    case ValueType::SizeList: return v >= kSmallestSize && v <= kLargestSize && (v - kSmallestSize) % kSizeStep == 0;
    case ValueType::Number: return v >= t.param1 && v <= t.param2;
    case ValueType::Colour: return static_cast<uint32_t>(v) <= 0x00FFFFFFu;
    case ValueType::FilePath: return true;
  }
  return true;
}

}  // namespace lumisk
