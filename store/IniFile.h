// TMemIniFile: the in-memory image of one INI file, through which every design file is read and written.
//
// Sections keep file order and are never merged; lines keep their bytes. Section and key names are found
// without regard to letter case through the Collation passed in; where several sections or lines match,
// the first one counts. Lookups are indexed, so reading or writing every section of a file costs time
// in proportion to the file, not to its square.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/HashSlots.h"
#include "store/Platform.h"

namespace lumisk {

class TMemIniFile {
 public:
  // Reads the whole file through `files`. An empty name, or no file at that path, gives an object with no
  // sections. Throws what FileAccess::readAll throws. Both references must outlive the object.
  TMemIniFile(std::string fileName, FileAccess& files, const Collation& collation);
  // An object over `bytes` as if read from `fileName`; writing it back needs a FileAccess.
  TMemIniFile(std::string fileName, std::string_view bytes, const Collation& collation);
  // An object for writing the file at `fileName` anew, as the constructor followed by clear() gives: the
  // file is read all the same, so that one that cannot be read throws the same error, but nothing of it
  // is looked at or kept.
  static TMemIniFile forRewrite(std::string fileName, FileAccess& files, const Collation& collation);

  const std::string& fileName() const { return fileName_; }

  void clear();
  // Every section name in file order, repeated names included.
  std::vector<std::string> sectionNames() const;
  std::size_t sectionCount() const { return sections_.size(); }
  // Position of the first section of that name (the one every read finds), or npos.
  std::size_t sectionIndex(std::string_view name) const { return findSection(name); }
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  // Key names to read or write together (readValues, writeValues), with what finding them takes worked
  // out once, so that one set made once serves every section. It refers to `names`, which must outlive it.
  class Keys {
   public:
    explicit Keys(std::span<const std::string_view> names);
    Keys(const Keys&) = delete;
    Keys& operator=(const Keys&) = delete;

    std::size_t size() const { return names_.size(); }
    std::string_view operator[](std::size_t k) const { return names_[k]; }

   private:
    friend class TMemIniFile;
    static constexpr std::size_t kInline = 32;
    static constexpr std::size_t kInlineSlots = 64;

    // What a line's key must hash to for key k (see the INI object's source), kept inline for the usual few.
    uint32_t hash(std::size_t k) const { return hashes_[k]; }
    // No line can hold two of the keys.
    bool distinct() const { return distinct_; }

    std::span<const std::string_view> names_;
    uint32_t inline_[kInline];
    std::vector<uint32_t> more_;
    uint32_t* hashes_;
    bool distinct_ = true;
  };

  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  // Reads many keys of one section with a single section lookup: values[i] is what readString(section,
  // keys[i], ...) reads, or std::nullopt where it would give the default. The views point into the object
  // and stay valid until it is next written or cleared. `values` must be as long as `keys`.
  void readValues(std::string_view section, std::span<const std::string_view> keys,
                  std::span<std::optional<std::string_view>> values) const;
  void readValues(std::string_view section, const Keys& keys, std::span<std::optional<std::string_view>> values) const;
  // The same for the section at position `section` in file order: what reading by its name reads, so a
  // repeated name reads as its first section. Reading every section in turn so costs no lookups by name.
  void readValues(std::size_t section, const Keys& keys, std::span<std::optional<std::string_view>> values) const;
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int32_t value);
  // writeString(section, keys[i], values[i]) for every i in order, with a single section lookup.
  void writeValues(std::string_view section, std::span<const std::string_view> keys,
                   std::span<const std::string_view> values);
  // The same for the keys that have a value: writeString(section, keys[i], *values[i]) for every i with
  // a value, in order. `values` must be as long as `keys`.
  void writeValues(std::string_view section, const Keys& keys, std::span<const std::optional<std::string_view>> values);
  void writeBool(std::string_view section, std::string_view key, bool value);

  // The file's bytes: per section a "[name]" line, its lines, one empty line; every line ends in CR LF.
  std::string serialize() const;
  // Replaces the file at fileName() with serialize(), atomically, through the FileAccess given at opening.
  void updateFile() const;

 private:
  // A line is a stretch of text_: loading a file allocates nothing per line.
  struct Line {
    std::size_t offset;
    std::size_t length;
    // What a key lookup compares before it reads the line (see lineKeyHash); kUnknownKey until needed.
    mutable uint32_t keyHash;
  };
  // A section as read keeps its lines unsplit, as the range [rawBegin, rawEnd) of text_ (comment and empty
  // lines included, skipped whenever the range is walked): reading many keys at once walks the range, and
  // only a lookup key by key or a write into a section with lines splits it into lines (see linesOf). A
  // section without lines that gets a batch of distinct keys keeps them unsplit too (see writeKeys). The
  // record holds no text and no vector of its own: a large file has many sections, and few are ever split.
  // Positions in text_ take 32 bits (see textPosition): a file has one record per section.
  struct Section {
    // The name is a stretch of text_: in the header as read, or stored there when the section was added.
    uint32_t nameOffset = 0;
    uint32_t nameLength = 0;
    uint32_t rawBegin = 0;
    uint32_t rawEnd = 0;
    // keyHash of the name while names are hashed by their ASCII folding (collated_ false), taken while the
    // header is read, so that the index is built without reading the names again.
    uint32_t plainHash = 0;
    // Where the section's lines are in splitLines_, once it has any.
    mutable uint32_t lines = kNoLines;
    mutable bool split = false;
    // The range holds exactly the lines written into it, each followed by CR LF: it is written out as it is.
    bool asWritten = false;
    // An earlier section bears the same name, so reads by this name find that one; set when the index is built.
    mutable bool repeated = false;
  };
  static constexpr uint32_t kNoLines = 0xFFFFFFFF;

  std::string_view sectionName(const Section& section) const {
    return std::string_view(text_).substr(section.nameOffset, section.nameLength);
  }
  // The lines of a split section, none before it has any.
  std::span<const Line> linesOf(const Section& section) const;
  // The same, to add lines to.
  std::vector<Line>& linesFor(const Section& section) const;
  std::string_view text(const Line& line) const { return std::string_view(text_).substr(line.offset, line.length); }
  // Calls visit(line) for every line of the section in order until it returns false.
  template <class Visit>
  void forEachLine(const Section& section, Visit visit) const;
  void splitLines(const Section& section) const;
  // readValues on the section at index s, or on none for npos.
  void readLines(std::size_t s, const Keys& keys, std::span<std::optional<std::string_view>> values) const;
  // What readLines does with a line that may hold any key: every key still without a value that the line
  // holds takes it, and `next` moves on past the last one.
  void readAnyKey(std::string_view line, const Keys& keys, std::span<std::optional<std::string_view>> values,
                  std::size_t& next, std::size_t& open) const;
  Line appendLine(std::string_view key, std::string_view value);
  // writeValues, with valueOf(k) pointing to the value of keys[k], or nullptr to leave that key alone.
  template <class ValueOf>
  void writeKeys(std::string_view section, const Keys& keys, ValueOf valueOf);
  // Splits text_ into sections.
  void parse();
  // A position in text_ as a section keeps it; a text beyond 4 GB is refused.
  static uint32_t textPosition(std::size_t position) {
    if (position > 0xFFFFFFFFu) [[unlikely]]
      textTooLong();
    return static_cast<uint32_t>(position);
  }
  [[noreturn]] static void textTooLong();
  // keyHash of a name of ASCII letters and digits in the index's plain mode (collated_ false).
  static uint64_t plainKeyHash(std::string_view name);
  // Index of the first section whose name matches, or npos.
  std::size_t findSection(std::string_view name) const;
  // Makes the index ready for looking up `name` and returns the name's hash in it.
  uint64_t prepareLookup(std::string_view name) const;
  // The same without the hash.
  void prepareIndex(std::string_view name) const;
  // The same as findSection with prepareLookup(name) already done.
  std::size_t findSectionByHash(std::string_view name, uint64_t hash) const;
  // Hash of a name in the index: names equal to sameName hash alike.
  uint64_t keyHash(std::string_view name) const;
  // A test whether section i bears `name`, for the index.
  auto sameAs(std::string_view name) const {
    // Equal bytes are an equal name; other bytes may still be one.
    return [this, name](std::size_t i) {
      const std::string_view own = sectionName(sections_[i]);
      return own == name || sameName(own, name);
    };
  }
  // Index of the first section of that name, appended first when there is none.
  std::size_t sectionForWrite(std::string_view name);
  // Index of the first line of `section` (split first) that holds `key`, or npos; only the first `limit`
  // lines are searched.
  std::size_t findLine(const Section& section, std::string_view key,
                       std::size_t limit = static_cast<std::size_t>(-1)) const;
  bool sameName(std::string_view a, std::string_view b) const;

  std::string fileName_;
  FileAccess* files_ = nullptr;
  const Collation* collation_;
  // The bytes of every line: the file as read (up to a NUL), then each line written, followed by CR LF
  // as in the file written (see serialize), and the name of each section added. A replaced line's old
  // bytes stay until clear(); an object lives for one operation, so they never pile up.
  std::string text_;
  std::vector<Section> sections_;
  // The lines of the sections that have been split.
  mutable std::vector<std::vector<Line>> splitLines_;
  // The first section of each name, by keyHash; built on the first lookup, extended on append.
  mutable HashSlots bySectionKey_;
  mutable bool indexed_ = false;
  // Whether keyHash hashes collation keys (see prepareLookup). Set as soon as a section bears a name
  // that is not of ASCII letters and digits.
  mutable bool collated_ = false;
  // The last name found and its section: reads of one section in a row skip the collation.
  mutable std::string lastName_;
  mutable std::size_t lastFound_ = static_cast<std::size_t>(-1);
};

}  // namespace lumisk
