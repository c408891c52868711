#include "store/DesignFile.h"

#include <array>
#include <optional>
#include <unordered_map>

#include "store/Cp932Path.h"
#include "store/HashSlots.h"
#include "store/IntegerText.h"

namespace lumisk {
namespace {

// The names of a list and the counters already passed per base, so that loading many designs stays
// linear. Valid while names are only added, which is all that loading does.
class NameIndex {
 public:
  // Takes in the names of the first `known` entries; the rest of the list is taken in later (add).
  NameIndex(const DesignList& list, std::size_t known) : list_(list) {
    names_.reserve(list.count());
    for (std::size_t i = 0; i < known; ++i) names_.insert(hashOf(list.name(i)), i);
  }

  bool taken(std::string_view name) { return contains(name); }

  std::string unique(const std::string& base, bool plainAllowed) {
    if (plainAllowed && !contains(base)) return base;
    // Every candidate below the counter recorded for this base is taken, and stays taken.
    int64_t& counter = nextCounter_[base];
    if (counter < 2) counter = plainAllowed ? 2 : 1;
    for (;; ++counter) {
      std::string candidate = base + std::to_string(counter);
      if (!contains(candidate)) return candidate;
    }
  }

  // Takes in entry i, which bears the name looked for last (by taken or unique), whose hash is at hand.
  void add(std::size_t i) { names_.insert(lastHash_, i); }

 private:
  static uint64_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name); }
  bool contains(std::string_view name) {
    lastHash_ = hashOf(name);
    return names_.find(lastHash_, [&](std::size_t i) { return list_.name(i) == name; }) != HashSlots::npos;
  }

  const DesignList& list_;
  HashSlots names_;
  uint64_t lastHash_ = 0;
  std::unordered_map<std::string, int64_t> nextCounter_;
};

// The keys of a design section in the order they are written: Name, the integer keys, WallPaper.
const TMemIniFile::Keys& sectionKeys() {
  static const std::array<std::string_view, 1 + kKeyCount> names = [] {
    std::array<std::string_view, 1 + kKeyCount> n;
    n[0] = "Name";
    for (int k = 0; k < kKeyCount; ++k) n[1 + k] = keyName(k);
    return n;
  }();
  static const TMemIniFile::Keys keys(names);
  return keys;
}

}  // namespace

void saveDesignSection(TMemIniFile& file, int32_t sectionNumber, const DesignList& list, std::size_t index) {
  const TDesign& d = list.design(index);
  std::array<std::optional<std::string_view>, 1 + kKeyCount> values;
  std::array<std::array<char, kIntegerTextSize>, kIntKeyCount> numbers;
  values[0] = list.name(index);
  for (int k = 0; k < kIntKeyCount; ++k)
    if (d.intValues[k] != kUnsetInt) values[1 + k] = formatInteger(d.intValues[k], numbers[k]);
  for (int t = 0; t < kTextKeyCount; ++t)
    if (d.textValues[t] != kUnsetText) values[1 + kIntKeyCount + t] = d.textValues[t];
  file.writeValues(formatInteger(sectionNumber), sectionKeys(), values);
}

void loadDesigns(const TMemIniFile& file, DesignList& list) {
  const std::size_t first = list.count();
  const std::size_t sections = file.sectionCount();
  const std::string_view folder = folderPart(file.fileName());
  try {
    // At most one design per section: one allocation instead of a copy of the list at every doubling.
    list.reserve(first + sections);
    // Name, the integer keys, WallPaper: read per section at once.
    std::array<std::optional<std::string_view>, 1 + kKeyCount> values;
    for (std::size_t section = 0; section < sections; ++section) {
      file.readValues(section, sectionKeys(), values);
      const std::string_view read = values[0].value_or("");
      if (read.empty()) continue;

      TDesign d = TDesign::unset();
      for (int k = 0; k < kIntKeyCount; ++k)
        d.intValues[k] = parseInteger(values[1 + k].value_or(""), kUnsetInt);
      std::string wall(values[1 + kIntKeyCount].value_or(kUnsetText));
      // A bare file name is taken to lie beside the file that names it.
      if (!wall.empty() && wall != kUnsetText && !hasFolderPart(wall)) wall.insert(0, folder);
      // A folder without a file is no wallpaper. The trailing "\" must be a character of its own: a name
      // ending in a double-byte character such as 表 (95 5C) is a file name, not a folder.
      if (!wall.empty() && wall.back() == '\\' && folderPartLength(wall) == wall.size()) wall.clear();
      d.wallPaper() = std::move(wall);

      list.append(std::string(read), std::move(d));
    }
    // Each name is made unique among those before it once all are read. In a loop of their own, the
    // lookups of a large list in its index, each a trip to main memory, overlap instead of waiting in turn.
    NameIndex names(list, first);
    for (std::size_t i = first; i < list.count(); ++i) {
      if (names.taken(list.name(i))) list.rename(i, names.unique(list.name(i), true));
      names.add(i);
    }
  } catch (...) {
    // All or nothing: no design of a file that could not be loaded whole stays in the list.
    while (list.count() > first) list.remove(list.count() - 1);
    throw;
  }
}

std::string quotedNames(const DesignList& list, std::size_t first) {
  std::size_t size = 0;
  for (std::size_t i = first; i < list.count(); ++i) size += list.name(i).size() + 4;
  std::string text;
  text.reserve(size);
  for (std::size_t i = first; i < list.count(); ++i) text.append("\"").append(list.name(i)).append("\"\r\n");
  return text;
}

std::string uniqueName(std::string_view base, bool plainAllowed, const DesignList& list) {
  NameIndex names(list, list.count());
  return names.unique(std::string(base), plainAllowed);
}

}  // namespace lumisk
