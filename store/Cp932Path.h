// Path scanning in code page 932 text: the second byte of a double-byte character may be 0x5C ("\"),
// so separators are found by walking characters, never by searching bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace lumisk {

constexpr bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Length of the folder part: everything up to and including the last "\" or ":" that is a character of
// its own; 0 when there is none. A lone lead byte at the end is taken as an incomplete character.
std::size_t folderPartLength(std::string_view path);
// folderPartLength(path) > 0, told at the first separator.
bool hasFolderPart(std::string_view path);

inline std::string_view folderPart(std::string_view path) { return path.substr(0, folderPartLength(path)); }
inline std::string_view fileNamePart(std::string_view path) { return path.substr(folderPartLength(path)); }

// Cuts `text` to at most `maxBytes` bytes without splitting a double-byte character.
std::size_t characterBoundaryAtOrBelow(std::string_view text, std::size_t maxBytes);

}  // namespace lumisk
