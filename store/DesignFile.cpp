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
  // `adding`: how many entries may yet be appended to the list, so that the index is sized once.
  explicit NameIndex(const DesignList& list, std::size_t adding = 0) : list_(list) {
    names_.reserve(list.count() + adding);
    for (std::size_t i = 0; i < list.count(); ++i) names_.insert(hashOf(list.name(i)), i);
  }

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

  // Takes in the entry just appended to the list, which bears the name unique() returned last: the last
  // name it looked for, whose hash is at hand.
  void addLast() { names_.insert(lastHash_, list_.count() - 1); }

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
  const std::size_t sections = file.sectionCount();
  NameIndex names(list, sections);
  const std::string_view folder = folderPart(file.fileName());
  // At most one design per section: one allocation instead of a copy of the list at every doubling.
  list.reserve(list.count() + sections);
  // Name, the integer keys, WallPaper: read per section at once.
  std::array<std::optional<std::string_view>, 1 + kKeyCount> values;
  for (std::size_t section = 0; section < sections; ++section) {
    file.readValues(section, sectionKeys(), values);
    const std::string_view read = values[0].value_or("");
    if (read.empty()) continue;
    std::string name = names.unique(std::string(read), true);

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

    list.append(std::move(name), std::move(d));
    names.addLast();
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
  NameIndex names(list);
  return names.unique(std::string(base), plainAllowed);
}

}  // namespace lumisk
