// Checks a design file (the plug-in INI or a .dsg) the way a person sharing designs would want: what
// would be dropped or renamed on loading, which values the editor does not offer, which wallpapers are
// missing. It reads through the same store code that the plug-in uses, so it finds what the plug-in does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "store/Design.h"
#include "store/IniFile.h"

namespace lumisk {

struct Finding {
  std::string section;  // the section header name
  std::string design;   // the name as loaded, or empty when the section is no design
  std::string text;     // what is wrong, code page 932
};

struct CheckReport {
  std::vector<std::string> designNames;  // as they would be loaded, in file order
  std::vector<Finding> findings;
};

// `fileExists` answers whether a wallpaper path names an existing file. `into` is the list the designs
// would be imported into (empty for a file checked on its own).
CheckReport checkDesignFile(const TMemIniFile& file, const DesignList& into,
                            const std::function<bool(const std::string&)>& fileExists);

}  // namespace lumisk
