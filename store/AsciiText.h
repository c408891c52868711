// The ASCII side of comparing names without regard to letter case: which bytes are plain letters and
// digits, and their folding. Only single-byte characters may be folded: the second byte of a double-byte
// character can look like a letter ("ア" is 83 41).
#pragma once

namespace lumisk {

constexpr bool isAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace lumisk
