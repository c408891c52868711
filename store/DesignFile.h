// Designs in design files: one INI section per design, and the rules that read them back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/Design.h"
#include "store/IniFile.h"

namespace lumisk {

// Writes entry `index` of `list` as the section named by the decimal `sectionNumber`: `Name`, then every
// integer key whose value is set in catalogue order, then `WallPaper` unless it is unset ("-").
void saveDesignSection(TMemIniFile& file, int32_t sectionNumber, const DesignList& list, std::size_t index);

// Appends every design of `file` to `list`: each section whose `Name` is not empty, in file order, under
// a name made unique among the list. When it throws, the list is as it was.
void loadDesigns(const TMemIniFile& file, DesignList& list);

// The names of the entries of `list` from position `first` on, each in double quotes followed by CR LF:
// what an import reports of the designs loadDesigns appended.
std::string quotedNames(const DesignList& list, std::size_t first);

// A name no entry of `list` bears: `base` itself (when `plainAllowed`), else base followed by 1, 2, 3...
// (base1 is never tried when the plain form is allowed: base, base2, base3...).
std::string uniqueName(std::string_view base, bool plainAllowed, const DesignList& list);

}  // namespace lumisk
