// What becomes of the designs when the INI file cannot be written at the end: nothing is written before
// then, so the session's captures, imports and edits live only in the design list, and the list is freed
// right after. They are written as a design file of their own, which the import reads back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/Design.h"
#include "store/Platform.h"

namespace lumisk {

// The rescue file is named kRescueStem, then nothing, 2, 3 and so on up to kRescueNames, then ".dsg": the
// first name under which no file exists (one that cannot be read counts as existing), so an earlier
// rescue that is not imported yet is never overwritten. A counter, not the date: the name is the same on
// every machine and every run, and the box names the file anyway.
inline constexpr std::string_view kRescueStem = "Lumisk未保存デザイン";
inline constexpr int kRescueNames = 999;

// Writes every design of `list`, in list order, as the export writes a design file (sections "1", "2",
// ...), atomically through `files`: in the folder of `iniPath` (unless the path is empty), else in the
// temporary folder. The path written, or std::nullopt when neither folder took the file.
std::optional<std::string> writeRescueFile(const DesignList& list, std::string_view iniPath, FileAccess& files,
                                           const Collation& collation);

// For a save at the end that failed (after its error was shown): writes the rescue file and tells the
// person where it is and that importing it brings the designs back, or in an error box that it could
// not be written. An empty list loses nothing: nothing is written or shown then.
void rescueDesigns(const DesignList& list, std::string_view iniPath, FileAccess& files, const Collation& collation,
                   Prompts& prompts);

}  // namespace lumisk
