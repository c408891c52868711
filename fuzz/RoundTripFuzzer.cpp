// fuzz_roundtrip: design files read, written and read again.
//
// Input: one control byte, then the bytes of a design file. The control byte picks the path the file is
// read from and the path its rewritten copy is read from (the WallPaper folder rule depends on both), and
// whether the designs are loaded a second time into the same list (the unique-name counters then start
// from names already taken).
//
// Properties:
// - loading agrees with the plain reference model (sections, first match, keys, integers, unique names,
//   WallPaper folder rules, the loaded-names text);
// - the written file is exactly the design sections of the loaded list;
// - reading it back gives the same names in the same order and the same values, except that a bare
//   WallPaper file name moves into the folder of the file it is read from;
// - after one round the written bytes and the loaded list are a fixed point.
// (Reading and writing many keys at once is fuzzed apart, by fuzz_batched, so that each gets its runs.)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/ReferenceModel.h"
#include "store/DesignFile.h"
#include "store/IniFile.h"

namespace lumisk::fuzz {
namespace {

const AsciiCollation kCollation;

// Paths in code page 932. 表 (95 5C) and ソ (83 5C) end in the byte of "\", which is no separator there.
constexpr std::string_view kPaths[] = {
    "C:\\dir\\designs.ini",
    "designs.ini",                    // no folder at all: bare names stay bare
    "D:\\\x95\x5c\\x.dsg",            // D:\表\x.dsg
    "C:x.dsg",                        // drive-relative: the folder part is "C:"
    "\\\\srv\\\x83\x5c\\a.dsg",       // \\srv\ソ\a.dsg
    "\x95\x5c.dsg",                   // 表.dsg: still no folder
};
constexpr std::size_t kPathCount = std::size(kPaths);

DesignList load(std::string_view path, std::string_view bytes, std::string* text = nullptr) {
  const TMemIniFile file{std::string(path), bytes, kCollation};
  DesignList list;
  loadDesigns(file, list);
  if (text) *text = quotedNames(list, 0);
  return list;
}

std::string save(std::string_view path, const DesignList& list) {
  TMemIniFile file{std::string(path), std::string_view(), kCollation};
  file.clear();
  for (std::size_t i = 0; i < list.count(); ++i) saveDesignSection(file, static_cast<int32_t>(i), list, i);
  return file.serialize();
}

void requireSameList(const DesignList& actual, const DesignList& expected, const char* what) {
  if (actual == expected) return;
  fail(what, "expected:\n" + describe(expected) + "actual:\n" + describe(actual));
}

}  // namespace
}  // namespace lumisk::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace lumisk;
  using namespace lumisk::fuzz;
  if (size == 0) return 0;
  const std::string_view firstPath = kPaths[data[0] % kPathCount];
  const std::string_view secondPath = kPaths[(data[0] / kPathCount) % kPathCount];
  const bool loadTwice = (data[0] & 0x80) != 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

  // Load, against the reference.
  const auto sections = refParseIni(bytes);
  std::string text;
  DesignList first = load(firstPath, bytes, &text);
  DesignList expected;
  const std::string expectedText = refLoadDesigns(sections, firstPath, expected);
  requireSameList(first, expected, "loaded designs differ from the reference");
  require(text == expectedText, "loaded-names text differs from the reference", text);

  if (loadTwice) {
    // Loading into a list that already holds these names: every copy gets the next free number.
    const TMemIniFile file{std::string(firstPath), bytes, kCollation};
    DesignList again = first;
    loadDesigns(file, again);
    const std::string againText = quotedNames(again, first.count());
    DesignList expectedAgain = expected;
    require(againText == refLoadDesigns(sections, firstPath, expectedAgain), "second load: names text differs");
    requireSameList(again, expectedAgain, "second load into the same list differs from the reference");
  }

  // Save: exactly the design sections of the list, numbered from 0.
  const std::string written = save(firstPath, first);
  require(written == refSerializeDesigns(first, 0), "written file differs from the design sections", written);

  // Read back from the second path: same names and values, bare WallPaper names moved into its folder.
  const DesignList second = load(secondPath, written);
  DesignList moved = first;
  for (std::size_t i = 0; i < moved.count(); ++i)
    moved.design(i).wallPaper() = refResolveWallPaper(moved.design(i).wallPaper(), secondPath);
  requireSameList(second, moved, "round trip changed the designs");
  if (firstPath == secondPath) requireSameList(second, first, "round trip through the same file changed designs");

  // One round later nothing moves any more.
  const std::string rewritten = save(secondPath, second);
  if (second == first) require(rewritten == written, "unchanged designs were written differently", rewritten);
  const DesignList third = load(secondPath, rewritten);
  requireSameList(third, second, "second round trip changed the designs");
  require(save(secondPath, third) == rewritten, "second round trip wrote different bytes");
  return 0;
}
