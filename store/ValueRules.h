// What each key of a design may hold as the editor offers it: the kind of value and its range or its
// options. The editor builds its choices from this table and the checker reports the values outside it;
// a design may still hold any value a file gave it.
#pragma once

#include <cstdint>

namespace lumisk {

enum class ValueType : int32_t { Enumeration = 1, SizeList = 2, Number = 3, Colour = 4, FilePath = 5 };

struct KeyType {
  ValueType type;
  // Enumeration and size list: index of the first option text, number of options. Number: minimum,
  // maximum.
  int32_t param1;
  int32_t param2;
};

// The editor's option texts: the enumerations' first, then one per size of the size list.
inline constexpr int kOptionTextCount = 43;
inline constexpr int kSizeOptionFirst = 12;
inline constexpr int kSizeOptionCount = 31;

// The size list: 8, 12, ... 128.
inline constexpr int32_t kSmallestSize = 8;
inline constexpr int32_t kSizeStep = 4;
inline constexpr int32_t kLargestSize = kSmallestSize + kSizeStep * (kSizeOptionCount - 1);

// The type of key `keyIndex` (0..23, the key catalogue's order). Throws std::out_of_range beyond it.
const KeyType& keyType(int keyIndex);

// The size of the size list's option `index`.
constexpr int32_t sizeListValue(int index) { return kSmallestSize + kSizeStep * index; }
// The option that shows `v`: the size at or below it, the division truncating toward zero. In 64 bits,
// since a size read from a file may be anything; the result may lie outside the list.
constexpr int64_t sizeListIndex(int32_t v) { return (int64_t{v} - kSmallestSize) / kSizeStep; }

// True when the editor offers `v` for key `keyIndex` (any value for a file path).
bool isOfferedValue(int keyIndex, int32_t v);

}  // namespace lumisk
