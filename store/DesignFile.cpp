#include "store/DesignFile.h"

#include <unordered_map>
#include <unordered_set>

#include "store/Cp932Path.h"
#include "store/IntegerText.h"

namespace lumisk {
namespace {

// The names of a list and the counters already passed per base, so that loading many designs stays
// linear. Valid while names are only added, which is all that loading does.
class NameIndex {
 public:
  explicit NameIndex(const DesignList& list) {
    names_.reserve(list.count() * 2);
    for (std::size_t i = 0; i < list.count(); ++i) names_.insert(list.name(i));
  }

  std::string unique(const std::string& base, bool plainAllowed) {
    if (plainAllowed && !names_.contains(base)) return base;
    // Every candidate below the counter recorded for this base is taken, and stays taken.
    int64_t& counter = nextCounter_[base];
    if (counter < 2) counter = plainAllowed ? 2 : 1;
    for (;; ++counter) {
      std::string candidate = base + std::to_string(counter);
      if (!names_.contains(candidate)) return candidate;
    }
  }

  void add(const std::string& name) { names_.insert(name); }

 private:
  std::unordered_set<std::string> names_;
  std::unordered_map<std::string, int64_t> nextCounter_;
};

}  // namespace

void saveDesignSection(TMemIniFile& file, int32_t sectionNumber, const DesignList& list, std::size_t index) {
  const std::string section = formatInteger(sectionNumber);
  const TDesign& d = list.design(index);
  file.writeString(section, "Name", list.name(index));
  for (int k = 0; k < kIntKeyCount; ++k)
    if (d.intValues[k] != kUnsetInt) file.writeInteger(section, intKeyName(k), d.intValues[k]);
  for (int t = 0; t < kTextKeyCount; ++t)
    if (d.textValues[t] != kUnsetText) file.writeString(section, textKeyName(t), d.textValues[t]);
}

std::string loadDesigns(const TMemIniFile& file, DesignList& list) {
  std::string loaded;
  NameIndex names(list);
  const std::string_view folder = folderPart(file.fileName());
  for (const std::string& section : file.sectionNames()) {
    const std::string read = file.readString(section, "Name", "");
    if (read.empty()) continue;
    std::string name = names.unique(read, true);

    TDesign d = TDesign::unset();
    for (int k = 0; k < kIntKeyCount; ++k) d.intValues[k] = file.readInteger(section, intKeyName(k), kUnsetInt);
    std::string wall = file.readString(section, textKeyName(0), kUnsetText);
    // A bare file name is taken to lie beside the file that names it.
    if (!wall.empty() && wall != kUnsetText && folderPartLength(wall) == 0) wall.insert(0, folder);
    // A folder without a file is no wallpaper. The trailing "\" must be a character of its own: a name
    // ending in a double-byte character such as 表 (95 5C) is a file name, not a folder.
    if (!wall.empty() && wall.back() == '\\' && folderPartLength(wall) == wall.size()) wall.clear();
    d.wallPaper() = std::move(wall);

    loaded.append("\"").append(name).append("\"\r\n");
    names.add(name);
    list.append(std::move(name), std::move(d));
  }
  return loaded;
}

std::string uniqueName(std::string_view base, bool plainAllowed, const DesignList& list) {
  NameIndex names(list);
  return names.unique(std::string(base), plainAllowed);
}

}  // namespace lumisk
