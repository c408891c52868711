// TMemIniFile: the in-memory image of one INI file, through which every design file is read and written.
//
// Sections keep file order and are never merged; lines keep their bytes. Section and key names are found
// without regard to letter case through the Collation passed in; where several sections or lines match,
// the first one counts. Lookups are indexed, so reading or writing every section of a file costs time
// in proportion to the file, not to its square.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/Platform.h"

namespace lumisk {

class TMemIniFile {
 public:
  // Reads the whole file through `files`. An empty name, or no file at that path, gives an object with no
  // sections. Throws what FileAccess::readAll throws. Both references must outlive the object.
  TMemIniFile(std::string fileName, FileAccess& files, const Collation& collation);
  // An object over `bytes` as if read from `fileName`; writing it back needs a FileAccess.
  TMemIniFile(std::string fileName, std::string_view bytes, const Collation& collation);

  const std::string& fileName() const { return fileName_; }

  void clear();
  // Every section name in file order, repeated names included.
  std::vector<std::string> sectionNames() const;
  std::size_t sectionCount() const { return sections_.size(); }
  // Position of the first section of that name (the one every read finds), or npos.
  std::size_t sectionIndex(std::string_view name) const { return findSection(name); }
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int32_t value);
  void writeBool(std::string_view section, std::string_view key, bool value);

  // The file's bytes: per section a "[name]" line, its lines, one empty line; every line ends in CR LF.
  std::string serialize() const;
  // Replaces the file at fileName() with serialize(), atomically, through the FileAccess given at opening.
  void updateFile() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;
  };

  void parse(std::string_view bytes);
  // Index of the first section whose name matches, or npos.
  std::size_t findSection(std::string_view name) const;
  Section& sectionForWrite(std::string_view name);
  // Index of the first line of `section` that holds `key`, or npos.
  std::size_t findLine(const Section& section, std::string_view key) const;
  bool sameName(std::string_view a, std::string_view b) const;

  std::string fileName_;
  FileAccess* files_ = nullptr;
  const Collation* collation_;
  std::vector<Section> sections_;
  // Collation key -> first section of that name; built on first lookup, extended on append.
  mutable std::unordered_map<std::string, std::size_t> byKey_;
  mutable bool indexed_ = false;
  // Exact bytes of names already looked up -> their first section: repeated lookups skip the collation.
  mutable std::unordered_map<std::string, std::size_t> byBytes_;
};

}  // namespace lumisk
