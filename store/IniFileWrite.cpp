// The INI object's writing side: values written into the sections of the text held in memory.
#include "store/IniFile.h"

#include <algorithm>
#include <cstring>

#include "store/IniText.h"
#include "store/IntegerText.h"

namespace lumisk {

using namespace ini_text;

TMemIniFile::Line TMemIniFile::appendLine(std::string_view key, std::string_view value) {
  const Line line{text_.size(), key.size() + 1 + value.size(), kUnknownKey};
  text_.resize(line.offset + line.length + 2);
  storeLine(text_.data() + line.offset, key, value);
  return line;
}

void TMemIniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  writeValues(section, std::span(&key, 1), std::span(&value, 1));
}

void TMemIniFile::writeValues(std::string_view section, std::span<const std::string_view> keys,
                              std::span<const std::string_view> values) {
  writeKeys(section, Keys(keys), [&](std::size_t k) { return &values[k]; });
}

void TMemIniFile::writeValues(std::string_view section, const Keys& keys,
                              std::span<const std::optional<std::string_view>> values) {
  writeKeys(section, keys, [&](std::size_t k) { return values[k] ? &*values[k] : nullptr; });
}

template <class ValueOf>
void TMemIniFile::writeKeys(std::string_view section, const Keys& keys, ValueOf valueOf) {
  const std::size_t s = sectionForWrite(section);
  splitLines(sections_[s]);
  // Distinct keys written into a section without lines, with values that hold no line break, become a
  // stretch of the text like the lines of a file: no record per line, and written out in one piece.
  auto breaksLine = [](std::string_view value) {
    return std::find_if(value.begin(), value.end(), [](char c) { return isLineBreak(c); }) != value.end();
  };
  // One pass tells both whether the lines stay unsplit and how much room they take: the text grows once
  // for all of them.
  bool unsplit = linesOf(sections_[s]).empty() && keys.distinct();
  std::size_t size = 0;
  for (std::size_t k = 0; k < keys.size() && unsplit; ++k) {
    if (const std::string_view* value = valueOf(k)) {
      unsplit = !breaksLine(*value);
      size += keys[k].size() + 1 + value->size() + 2;
    }
  }
  if (unsplit) {
    textPosition(text_.size() + size);  // the positions below fit in a section record
    Section& target = sections_[s];
    target.rawBegin = static_cast<uint32_t>(text_.size());
    text_.resize(target.rawBegin + size);
    char* out = text_.data() + target.rawBegin;
    for (std::size_t k = 0; k < keys.size(); ++k)
      if (const std::string_view* value = valueOf(k)) out = storeLine(out, keys[k], *value);
    target.rawEnd = static_cast<uint32_t>(text_.size());
    target.split = false;
    target.asWritten = true;
    return;
  }
  // Keys that no line can hold twice cannot find a line written by this call: only the lines that were
  // there before need searching (none, for a new section).
  std::vector<Line>& lines = linesFor(sections_[s]);
  const std::size_t before = keys.distinct() ? lines.size() : npos;
  lines.reserve(lines.size() + keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const std::string_view* value = valueOf(k);
    if (!value) continue;
    const std::size_t l = before == 0 ? npos : findLine(sections_[s], keys[k], before);
    const Line line = appendLine(keys[k], *value);
    if (l != npos)
      lines[l] = line;
    else
      lines.push_back(line);
  }
}

void TMemIniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
  writeString(section, key, formatInteger(value));
}

void TMemIniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace lumisk
