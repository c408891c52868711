// The design record, its key catalogue and the design list.
//
// A design is a named set of up to 24 pad appearance values: 23 integer keys, then the one text key
// `WallPaper`. The store never interprets a value; it keeps, writes, reads and forwards each one as it is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumisk {

inline constexpr int kIntKeyCount = 23;
inline constexpr int kTextKeyCount = 1;
inline constexpr int kKeyCount = kIntKeyCount + kTextKeyCount;

// A value the design does not carry: never sent to a pad, never written to a file.
inline constexpr int32_t kUnsetInt = -1;
inline constexpr std::string_view kUnsetText = "-";

// Key names in catalogue order; they are at once the host's setting names and the INI keys.
std::string_view intKeyName(int index);   // index 0..22
std::string_view textKeyName(int index);  // index 0: "WallPaper"
std::string_view keyName(int keyIndex);   // 0..22 integer keys, 23 WallPaper

struct TDesign {
  std::array<int32_t, kIntKeyCount> intValues{};
  std::array<std::string, kTextKeyCount> textValues{};

  // A record that carries nothing: every integer -1, `WallPaper` "-".
  static TDesign unset();

  const std::string& wallPaper() const { return textValues[0]; }
  std::string& wallPaper() { return textValues[0]; }

  bool operator==(const TDesign&) const = default;
};

struct DesignEntry {
  std::string name;
  TDesign design;

  bool operator==(const DesignEntry&) const = default;
};

// Ordered designs, each entry owning its record by value. Names are compared byte for byte; the list
// itself does not enforce uniqueness: the operations that add or rename entries do.
class DesignList {
 public:
  std::size_t count() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const std::string& name(std::size_t i) const { return entries_.at(i).name; }
  const TDesign& design(std::size_t i) const { return entries_.at(i).design; }
  TDesign& design(std::size_t i) { return entries_.at(i).design; }
  const DesignEntry& entry(std::size_t i) const { return entries_.at(i); }

  void append(std::string name, TDesign design);
  void rename(std::size_t i, std::string name);
  // Takes the entry out at `from` and inserts it again at `to`; the entries between shift towards `from`.
  void move(std::size_t from, std::size_t to);
  void remove(std::size_t i);
  void clear() { entries_.clear(); }
  void reserve(std::size_t n) { entries_.reserve(n); }

  bool containsName(std::string_view name) const;

  bool operator==(const DesignList&) const = default;

 private:
  std::vector<DesignEntry> entries_;
};

}  // namespace lumisk
