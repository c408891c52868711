// fuzz_batched: reading or writing many keys of a section at once is the same as reading or writing them
// one by one, on any file.
//
// Input: as for fuzz_roundtrip, one control byte (here it picks only the path the file is read from), then
// the bytes of a design file, so the two targets share their seeds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/ReferenceModel.h"
#include "store/IniFile.h"

namespace lumisk::fuzz {
namespace {

const AsciiCollation kCollation;

constexpr std::string_view kPaths[] = {"C:\\dir\\designs.ini", "designs.ini", "D:\\\x95\x5c\\x.dsg"};

// Keys for the batched reads and writes: the design keys, a key asked twice, and names that only the
// letter case, a blank, a double-byte character or nothing at all tell apart.
constexpr std::string_view kProbeKeys[] = {"Name", "WallPaper", "DragBar", "name", "Name ", "", "\x83\x41",
                                           "Cols", "Name", "a=b", "Rows"};

// Reading many keys at once gives what reading them one by one gives, before and after the same writes
// made at once or one by one.
void checkBatchedAccess(std::string_view path, std::string_view bytes, const std::vector<RefSection>& sections) {
  TMemIniFile batched{std::string(path), bytes, kCollation};
  TMemIniFile single{std::string(path), bytes, kCollation};
  std::optional<std::string_view> values[std::size(kProbeKeys)];
  auto compare = [&](std::string_view section) {
    batched.readValues(section, kProbeKeys, values);
    for (std::size_t k = 0; k < std::size(kProbeKeys); ++k) {
      const std::string one = single.readString(section, kProbeKeys[k], "\x01" "default");
      require(values[k].value_or("\x01" "default") == one, "batched read differs from a single read", one);
    }
  };
  // A few sections suffice: every section is read through the batch by loadDesigns below anyway.
  constexpr std::size_t kChecked = 8;
  for (std::size_t i = 0; i < sections.size() && i < kChecked; ++i) compare(sections[i].name);
  compare("no such section");

  // The first few sections get values for every probe key, and a section that did not exist.
  const std::string_view written[] = {"1", "x", "", "表", "-", "=", "y", " ", "z", "w", "9"};
  static_assert(std::size(written) == std::size(kProbeKeys));
  std::vector<std::string> targets;
  for (std::size_t i = 0; i < sections.size() && i < 3; ++i) targets.push_back(sections[i].name);
  targets.push_back("new");
  for (const auto& target : targets) {
    batched.writeValues(target, kProbeKeys, written);
    for (std::size_t k = 0; k < std::size(kProbeKeys); ++k) single.writeString(target, kProbeKeys[k], written[k]);
  }
  require(batched.serialize() == single.serialize(), "batched writes differ from single writes", batched.serialize());
  for (const auto& target : targets) compare(target);
}

}  // namespace
}  // namespace lumisk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace lumisk::fuzz;
  if (size == 0) return 0;
  const std::string_view path = kPaths[data[0] % std::size(kPaths)];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  checkBatchedAccess(path, bytes, lumisk::fuzz::refParseIni(bytes));
  return 0;
}
