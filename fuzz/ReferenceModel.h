// A second, deliberately plain implementation of the design file rules, for the fuzzers to compare the
// store against. It favours obviousness over speed (linear scans, no caches, no shared helpers with the
// store) so that a fault in the store's indexed lookups, name counters or path scanning shows up as a
// disagreement. Only the record types and the key catalogue (data, not logic) come from the store.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/Design.h"

namespace lumisk::fuzz {

// Stops the run with a message: libFuzzer keeps the input that got here as a finding.
[[noreturn]] void fail(const char* what, std::string_view detail = {});
inline void require(bool condition, const char* what, std::string_view detail = {}) {
  if (!condition) fail(what, detail);
}

// Lead bytes of a double-byte character in code page 932.
bool refIsLead(unsigned char b);

// Integer text: leading 0x20 blanks, then a signed decimal within 32 bits or an unsigned hexadecimal
// ($ x X 0x 0X) of at most eight significant digits taken as a 32-bit pattern; nothing may follow.
std::optional<int32_t> refParseInteger(std::string_view text);
std::string refFormatInteger(int32_t value);

// Byte length of the folder part: up to and including the last "\" or ":" that starts a character.
std::size_t refFolderLength(std::string_view path);
// Longest prefix of `text` of at most `maxBytes` bytes that ends on a character boundary.
std::size_t refCut(std::string_view text, std::size_t maxBytes);
// Drops leading and trailing bytes of value 0x20 and below.
std::string refTrim(std::string_view text);

struct RefSection {
  std::string name;
  std::vector<std::string> lines;
};

// Splits a file's bytes into sections the way the design files are read.
std::vector<RefSection> refParseIni(std::string_view bytes);

// Case-insensitive name equality of the native collation: single-byte ASCII letters fold, the second
// byte of a double-byte character is compared as it is.
bool refSameName(std::string_view a, std::string_view b);

// The value of `key` in the first section named `section`, if both exist.
std::optional<std::string> refRead(const std::vector<RefSection>& file, std::string_view section,
                                   std::string_view key);

// What a WallPaper value read from a file in `fileName` becomes: a bare file name moves into the file's
// folder; a value ending in a "\" of its own is a folder, not a picture, and becomes empty.
std::string refResolveWallPaper(std::string wall, std::string_view fileName);

// Appends the designs of `file` (read from `fileName`) to `list`; returns the loaded-names text.
std::string refLoadDesigns(const std::vector<RefSection>& file, std::string_view fileName, DesignList& list);

// The bytes of a file holding every entry of `list` as design sections numbered from `firstNumber`.
std::string refSerializeDesigns(const DesignList& list, int32_t firstNumber);

// A readable rendering of a list for failure messages.
std::string describe(const DesignList& list);

}  // namespace lumisk::fuzz
