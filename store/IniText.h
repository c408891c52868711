// The text of an INI file line by line, as the INI object reads and writes it: splitting lines, telling
// a line's key fast, storing a line. For the INI object's own sources only.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "store/AsciiText.h"

namespace lumisk::ini_text {

inline bool allAsciiAlnum(std::string_view s) {
  for (char c : s)
    if (!isAsciiAlnum(c)) return false;
  return true;
}

// What a line's key looks like to a lookup. Keys of ASCII letters and digits compare by their ASCII
// folding (see sameName), so equal keys have equal hashes; any other key may be equal under the
// collation to a name of any hash and must always be compared.
constexpr uint32_t kNoKey = 0xFFFFFFFF;        // no "=": never matches
constexpr uint32_t kCollatedKey = 0xFFFFFFFE;  // compare through the collation
constexpr uint32_t kUnknownKey = 0xFFFFFFFD;   // not looked at yet

// FNV-1a over the folded bytes of a name, kept below the marks above: the hash of keys and of section
// names alike.
constexpr uint32_t kHashStart = 2166136261u;
constexpr uint32_t hashStep(uint32_t h, char c) { return (h ^ static_cast<unsigned char>(foldAscii(c))) * 16777619u; }
constexpr uint32_t hashEnd(uint32_t h) { return h & 0x7FFFFFFF; }

inline uint32_t foldedHash(std::string_view name) {
  uint32_t h = kHashStart;
  for (char c : name) h = hashStep(h, c);
  return hashEnd(h);
}

// The key hash of a line: that of the bytes before its first "=" when they are all ASCII letters and
// digits, kCollatedKey when they are not, kNoKey without "=". One pass over the key.
inline uint32_t lineKeyHash(std::string_view line) {
  uint32_t h = kHashStart;
  bool alnum = true;
  for (char c : line) {
    if (c == '=') return alnum ? hashEnd(h) : kCollatedKey;
    alnum = alnum && isAsciiAlnum(c);
    h = hashStep(h, c);
  }
  return kNoKey;
}

// The lookup hash of a key asked for: a key that is not all ASCII letters and digits is compared with
// every line that has a key.
inline uint32_t wantedKeyHash(std::string_view key) {
  uint32_t h = kHashStart;
  for (char c : key) {
    if (!isAsciiAlnum(c)) return kCollatedKey;
    h = hashStep(h, c);
  }
  return hashEnd(h);
}

// Whether `line` holds `key`, a key of ASCII letters and digits: its bytes before the first "=" are those
// of the key, letter case aside (as sameName compares such keys). Mostly they are the very bytes.
inline bool holdsPlainKey(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line[key.size()] != '=') return false;
  if (line.starts_with(key)) return true;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (foldAscii(line[i]) != foldAscii(key[i])) return false;
  return true;
}

// Whether a line of key hash `line` may hold a key of lookup hash `wanted`.
inline bool mayMatch(uint32_t line, uint32_t wanted) {
  return line != kNoKey && (line == wanted || line == kCollatedKey || wanted == kCollatedKey);
}

// CR or LF. No byte above CR is either, so most bytes take one comparison.
inline bool isLineBreak(char c) { return static_cast<unsigned char>(c) <= '\r' && (c == '\r' || c == '\n'); }

// Splits [begin, end) of a text into lines as a file is read: a line ends at CR LF, a lone CR or a lone
// LF. Both are looked for in one pass (searching for each apart would read every byte twice).
class LineSplitter {
 public:
  LineSplitter(std::string_view text, std::size_t begin, std::size_t end) : text_(text.substr(0, end)), pos_(begin) {}

  // The next line's offset and length; false at the end. Its first `known` bytes, if it is that long, are
  // known to hold no line break and are not looked at again.
  bool next(std::size_t& offset, std::size_t& length, std::size_t known = 0) {
    if (pos_ >= text_.size()) return false;
    const auto from = text_.begin() + std::min(pos_ + known, text_.size());
    const auto stop = std::find_if(from, text_.end(), [](char c) { return isLineBreak(c); });
    offset = pos_;
    length = static_cast<std::size_t>(stop - text_.begin()) - pos_;
    pos_ = offset + length;
    if (pos_ < text_.size() && text_[pos_++] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return true;
  }
  std::size_t position() const { return pos_; }
  // The text from the next line on.
  std::string_view rest() const { return text_.substr(pos_); }
  // Goes on from `pos`, the start of a line at or after position().
  void skipTo(std::size_t pos) { pos_ = pos; }

 private:
  std::string_view text_;  // up to the end of the range
  std::size_t pos_;
};

// Stores "key=value" and CR LF at `out`, which has room for them; the end of what was stored.
inline char* storeLine(char* out, std::string_view key, std::string_view value) {
  out = std::copy(key.begin(), key.end(), out);
  *out++ = '=';
  out = std::copy(value.begin(), value.end(), out);
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

// Empty lines and comment lines are no part of a section.
inline bool isContent(std::string_view line) { return !line.empty() && line.front() != ';'; }

}  // namespace lumisk::ini_text
