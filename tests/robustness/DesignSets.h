// The two sets of designs that the save loop writes in turn and the kill test expects to find: set A and
// set B, each saved as the plug-in saves its INI file, large enough that one save takes a while.
#pragma once

#include <string>

#include "store/Design.h"
#include "store/DesignFile.h"
#include "store/IniFile.h"
#include "store/Platform.h"

namespace lumisk::testing {

inline constexpr int kSetDesigns = 10000;

// The bytes of set `which` ('A' or 'B'): `count` designs, every value set, names and values differing
// between the sets, so that no mixture of the two files can pass for either.
inline std::string designSetBytes(char which, int count = kSetDesigns) {
  const int salt = which == 'A' ? 1 : 7;
  DesignList list;
  list.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    TDesign d = TDesign::unset();
    for (int k = 0; k < kIntKeyCount; ++k) d.intValues[static_cast<std::size_t>(k)] = (i * 31 + k * salt) % 100000;
    // Appended piece by piece: the 32-bit compiler warns falsely (-Wrestrict) on the chained "+".
    d.wallPaper() = "C:\\壁紙\\表";
    d.wallPaper().append(1, which).append(std::to_string(i)).append(".bmp");
    list.append(std::string(1, which) + "デザイン" + std::to_string(i + 1), d);
  }
  const AsciiCollation collation;
  TMemIniFile file("", "", collation);
  file.writeInteger("Main", "Left", salt);
  for (int i = 0; i < count; ++i) saveDesignSection(file, i, list, static_cast<std::size_t>(i));
  return file.serialize();
}

}  // namespace lumisk::testing
