#include "store/IniFile.h"

#include <algorithm>
#include <cstring>

#include "store/IniText.h"
#include "store/IntegerText.h"

namespace lumisk {
using namespace ini_text;

// `distinct`: the hashes differ pairwise and none needs the collation.
TMemIniFile::Keys::Keys(std::span<const std::string_view> names) : names_(names) {
  if (names.size() > kInline) more_.resize(names.size());
  hashes_ = names.size() > kInline ? more_.data() : inline_;
  if (names.size() == 1) {  // readString and writeString: nothing to tell apart
    hashes_[0] = wantedKeyHash(names[0]);
    distinct_ = hashes_[0] != kCollatedKey;
    return;
  }
  // The hashes seen so far, in an open-addressed table of at least twice as many slots as keys.
  std::size_t slots = kInlineSlots;
  while (slots < 2 * names.size()) slots *= 2;
  uint32_t inlineSeen[kInlineSlots];
  std::vector<uint32_t> moreSeen;
  uint32_t* seen = inlineSeen;
  if (slots > kInlineSlots) {
    moreSeen.resize(slots);
    seen = moreSeen.data();
  }
  std::fill(seen, seen + slots, kNoKey);
  for (std::size_t k = 0; k < names.size(); ++k) {
    const uint32_t h = hashes_[k] = wantedKeyHash(names[k]);
    if (h == kCollatedKey) distinct_ = false;
    for (std::size_t i = h & (slots - 1); distinct_; i = (i + 1) & (slots - 1)) {
      if (seen[i] == h) distinct_ = false;
      if (seen[i] == kNoKey) {
        seen[i] = h;
        break;
      }
    }
  }
}

TMemIniFile::TMemIniFile(std::string fileName, FileAccess& files, const Collation& collation)
    : fileName_(std::move(fileName)), files_(&files), collation_(&collation) {
  if (fileName_.empty()) return;
  if (auto bytes = files.readAll(fileName_)) {
    text_ = std::move(*bytes);
    parse();
  }
}

TMemIniFile TMemIniFile::forRewrite(std::string fileName, FileAccess& files, const Collation& collation) {
  TMemIniFile ini(std::string(), files, collation);
  ini.fileName_ = std::move(fileName);
  if (ini.fileName_.empty()) return ini;
  if (auto bytes = files.readAll(ini.fileName_)) {
    // The buffer stays for the lines written, which take about as much room as the old file.
    ini.text_ = std::move(*bytes);
    ini.text_.clear();
  }
  return ini;
}

TMemIniFile::TMemIniFile(std::string fileName, std::string_view bytes, const Collation& collation)
    : fileName_(std::move(fileName)), collation_(&collation), text_(bytes) {
  parse();
}

void TMemIniFile::parse() {
  // A header is a line that starts with "[" and ends with "]": only the lines that start where a "["
  // stands need a look, and each gets it at once, while its bytes are still in the cache. A NUL byte
  // ends the text; strchr stops at the first one as at the end, so one pass over the text finds both the
  // "["s and, past the last of them, where the text ends. The headers are gathered first, so that the
  // sections take one allocation.
  struct Header {
    std::size_t offset;  // of the "["
    std::size_t length;  // of the line
    std::size_t next;    // where the next line starts
    uint32_t plainHash;  // see Section
  };
  std::vector<Header> headers;
  const char* const begin = text_.c_str();
  const char* from = begin;
  std::size_t end = text_.size();
  for (const char* open = std::strchr(from, '['); open; open = std::strchr(from, '[')) {
    from = open + 1;
    if (open != begin && !isLineBreak(open[-1])) continue;
    // The line ends at a line break or at the NUL that ends the text.
    const char* stop = std::find_if(from, begin + end, [](char c) { return isLineBreak(c) || c == '\0'; });
    const auto offset = static_cast<std::size_t>(open - begin);
    const auto length = static_cast<std::size_t>(stop - open);
    std::size_t next = offset + length;
    if (stop != begin + end && *stop == '\0') end = next;
    if (next < end && text_[next++] == '\r' && next < end && text_[next] == '\n') ++next;
    if (length >= 2 && stop[-1] == ']') {
      const std::string_view name(open + 1, length - 2);
      if (!allAsciiAlnum(name)) collated_ = true;
      headers.push_back(Header{offset, length, next, collated_ ? 0 : static_cast<uint32_t>(plainKeyHash(name))});
    }
    if (next >= end) break;
    from = begin + next;
  }
  // Past the last "[", only the NUL that may end the text remains to be found.
  if (end == text_.size()) end = static_cast<std::size_t>(from - begin) + std::strlen(from);
  text_.resize(end);
  sections_.reserve(headers.size());
  for (const Header& header : headers) {
    // Lines before the first header belong to no section and are dropped.
    if (!sections_.empty()) sections_.back().rawEnd = textPosition(header.offset);
    Section& section = sections_.emplace_back();
    section.nameOffset = textPosition(header.offset + 1);
    section.nameLength = textPosition(header.length - 2);
    section.rawBegin = section.rawEnd = textPosition(header.next);
    section.plainHash = header.plainHash;
  }
  if (!sections_.empty()) sections_.back().rawEnd = textPosition(text_.size());
}

void TMemIniFile::textTooLong() { throw std::length_error("TMemIniFile: text beyond 4 GB"); }

template <class Visit>
void TMemIniFile::forEachLine(const Section& section, Visit visit) const {
  if (section.split) {
    for (const Line& line : linesOf(section))
      if (!visit(text(line))) return;
    return;
  }
  LineSplitter lines(text_, section.rawBegin, section.rawEnd);
  std::size_t offset, length;
  while (lines.next(offset, length)) {
    const std::string_view line = std::string_view(text_).substr(offset, length);
    if (isContent(line) && !visit(line)) return;
  }
}

void TMemIniFile::splitLines(const Section& section) const {
  if (section.split) return;
  std::vector<Line>& split = linesFor(section);
  LineSplitter lines(text_, section.rawBegin, section.rawEnd);
  std::size_t offset, length;
  while (lines.next(offset, length))
    if (isContent(std::string_view(text_).substr(offset, length))) split.push_back(Line{offset, length, kUnknownKey});
  section.split = true;
}

std::span<const TMemIniFile::Line> TMemIniFile::linesOf(const Section& section) const {
  if (section.lines == kNoLines) return {};
  return splitLines_[section.lines];
}

std::vector<TMemIniFile::Line>& TMemIniFile::linesFor(const Section& section) const {
  if (section.lines == kNoLines) {
    if (splitLines_.size() >= kNoLines) throw std::length_error("TMemIniFile: too many sections");
    section.lines = static_cast<uint32_t>(splitLines_.size());
    splitLines_.emplace_back();
  }
  return splitLines_[section.lines];
}

void TMemIniFile::clear() {
  text_.clear();
  sections_.clear();
  splitLines_.clear();
  bySectionKey_.clear();
  indexed_ = false;
  collated_ = false;
  lastFound_ = npos;
}

std::vector<std::string> TMemIniFile::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& s : sections_) names.emplace_back(sectionName(s));
  return names;
}

// Names of ASCII letters and digits (every key, every numbered section) compare equal in the locale's
// case-insensitive order exactly when they are equal after ASCII folding; that spares the collation the
// bulk of the work. Anything else goes to the collation.
bool TMemIniFile::sameName(std::string_view a, std::string_view b) const {
  if (allAsciiAlnum(a) && allAsciiAlnum(b)) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
      if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
  }
  return collation_->equal(a, b);
}

std::size_t TMemIniFile::findSection(std::string_view name) const {
  if (lastFound_ != npos && name == lastName_) return lastFound_;
  return findSectionByHash(name, prepareLookup(name));
}

// While every section name and every name asked for is of ASCII letters and digits, names are hashed by
// their ASCII folding, which is how sameName compares them, and the collation is never asked. The first
// other name turns the index over to collation keys for good: such a name may equal a plain one under
// the collation.
uint64_t TMemIniFile::prepareLookup(std::string_view name) const {
  prepareIndex(name);
  return keyHash(name);
}

void TMemIniFile::prepareIndex(std::string_view name) const {
  if (!collated_ && !allAsciiAlnum(name)) {
    collated_ = true;
    indexed_ = false;
  }
  if (indexed_) return;
  bySectionKey_.clear();
  bySectionKey_.reserve(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const std::string_view own = sectionName(sections_[i]);
    const uint64_t h = collated_ ? keyHash(own) : sections_[i].plainHash;
    sections_[i].repeated = bySectionKey_.find(h, sameAs(own)) != npos;
    if (!sections_[i].repeated) bySectionKey_.insert(h, i);
  }
  indexed_ = true;
}

uint64_t TMemIniFile::keyHash(std::string_view name) const {
  if (collated_) return std::hash<std::string_view>{}(collation_->key(name));
  return plainKeyHash(name);
}

uint64_t TMemIniFile::plainKeyHash(std::string_view name) { return foldedHash(name); }

std::size_t TMemIniFile::findSectionByHash(std::string_view name, uint64_t hash) const {
  const std::size_t found = bySectionKey_.find(hash, sameAs(name));
  if (found == npos) return npos;
  // Sections are only ever appended, so the first section of a name stays the first.
  lastName_.assign(name);
  lastFound_ = found;
  return found;
}

std::size_t TMemIniFile::sectionForWrite(std::string_view name) {
  if (lastFound_ != npos && name == lastName_) return lastFound_;
  const uint64_t hash = prepareLookup(name);
  if (const std::size_t index = findSectionByHash(name, hash); index != npos) return index;
  const std::size_t index = sections_.size();
  Section& section = sections_.emplace_back();
  section.nameOffset = textPosition(text_.size());
  section.nameLength = textPosition(name.size());
  // The lookup above has set collated_ if the name is not plain; the plain hash is only read while it is not.
  section.plainHash = static_cast<uint32_t>(hash);
  section.split = true;
  text_.append(name);  // `name` may point into text_: nothing below reads it
  bySectionKey_.insert(hash, index);
  return index;
}

std::size_t TMemIniFile::findLine(const Section& section, std::string_view key, std::size_t limit) const {
  splitLines(section);
  const uint32_t wanted = wantedKeyHash(key);
  const std::span<const Line> lines = linesOf(section);
  const std::size_t end = std::min(limit, lines.size());
  for (std::size_t i = 0; i < end; ++i) {
    const Line& line = lines[i];
    if (line.keyHash == kUnknownKey) line.keyHash = lineKeyHash(text(line));
    if (!mayMatch(line.keyHash, wanted)) continue;
    const std::string_view t = text(line);
    if (sameName(t.substr(0, t.find('=')), key)) return i;
  }
  return npos;
}

std::string TMemIniFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  std::optional<std::string_view> value;
  readValues(section, std::span(&key, 1), std::span(&value, 1));
  return std::string(value.value_or(defaultValue));
}

void TMemIniFile::readValues(std::string_view section, std::span<const std::string_view> keys,
                             std::span<std::optional<std::string_view>> values) const {
  readValues(section, Keys(keys), values);
}

void TMemIniFile::readValues(std::string_view section, const Keys& keys,
                             std::span<std::optional<std::string_view>> values) const {
  readLines(findSection(section), keys, values);
}

void TMemIniFile::readValues(std::size_t section, const Keys& keys,
                             std::span<std::optional<std::string_view>> values) const {
  const Section& target = sections_.at(section);
  const std::string_view own = sectionName(target);
  prepareIndex(own);
  const std::size_t first = target.repeated ? findSectionByHash(own, keyHash(own)) : section;
  readLines(first, keys, values);
}

void TMemIniFile::readLines(std::size_t s, const Keys& keys, std::span<std::optional<std::string_view>> values) const {
  for (std::size_t k = 0; k < keys.size(); ++k) values[k].reset();
  if (s == npos || keys.size() == 0) return;

  // One walk over the lines for all keys: each key takes the first line that holds it. Lines mostly come
  // in the order asked for, so the key after the last one found is looked for first, by comparing the
  // line's start with it: distinct keys are all plain, so a line that starts with one and "=" holds that
  // one and no other.
  std::size_t open = keys.size();
  std::size_t next = 0;
  auto expecting = [&] { return keys.distinct() && next < keys.size() && !values[next]; };
  auto takeNext = [&](std::string_view value) {
    values[next++] = value;
    --open;
  };
  const Section& section = sections_[s];
  if (section.split) {
    for (const Line& l : linesOf(section)) {
      const std::string_view line = text(l);
      if (expecting() && holdsPlainKey(line, keys[next]))
        takeNext(line.substr(keys[next].size() + 1));
      else
        readAnyKey(line, keys, values, next, open);
      if (open == 0) return;
    }
    return;
  }
  // Of a line known to hold the key expected next, only the value is searched for the line's end.
  LineSplitter lines(text_, section.rawBegin, section.rawEnd);
  std::size_t offset, length;
  while (open > 0) {
    const std::size_t known = expecting() && holdsPlainKey(lines.rest(), keys[next]) ? keys[next].size() + 1 : 0;
    if (!lines.next(offset, length, known)) return;
    const std::string_view line = std::string_view(text_).substr(offset, length);
    if (known > 0)
      takeNext(line.substr(known));
    else if (isContent(line))
      readAnyKey(line, keys, values, next, open);
  }
}

void TMemIniFile::readAnyKey(std::string_view line, const Keys& keys, std::span<std::optional<std::string_view>> values,
                             std::size_t& next, std::size_t& open) const {
  const uint32_t hash = lineKeyHash(line);
  if (hash == kNoKey) return;
  const std::size_t eq = line.find('=');
  const std::string_view name = line.substr(0, eq);
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (values[k] || !mayMatch(hash, keys.hash(k)) || !sameName(name, keys[k])) continue;
    values[k] = line.substr(eq + 1);
    next = k + 1;
    --open;
  }
}

int32_t TMemIniFile::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
  return parseInteger(readString(section, key, ""), defaultValue);
}

bool TMemIniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string TMemIniFile::serialize() const {
  std::size_t size = 0;
  for (const auto& s : sections_) {
    size += s.nameLength + 6;
    if (s.split)
      for (const auto& l : linesOf(s)) size += l.length + 2;
    else
      size += s.rawEnd - s.rawBegin + 2;  // about: a line that ends in CR or LF alone grows by one byte
  }
  std::string out;
  out.reserve(size);
  for (const auto& s : sections_) {
    out.append("[").append(sectionName(s)).append("]\r\n");
    if (!s.split && s.asWritten) {
      out.append(text_, s.rawBegin, s.rawEnd - s.rawBegin).append("\r\n");
      continue;
    }
    // Lines that follow one another in text_, each with its CR LF, as the lines written here do and the
    // lines of most files read, are copied in one piece: [from, to) is such a run not yet copied.
    std::size_t from = 0, to = 0;
    forEachLine(s, [&](std::string_view line) {
      const auto offset = static_cast<std::size_t>(line.data() - text_.data());
      const std::size_t end = offset + line.size();
      if (offset != to) {
        out.append(text_, from, to - from);
        from = offset;
      }
      if (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n') {
        to = end + 2;
      } else {
        out.append(text_, from, end - from).append("\r\n");
        from = to = end;
      }
      return true;
    });
    out.append(text_, from, to - from).append("\r\n");
  }
  return out;
}

void TMemIniFile::updateFile() const {
  if (!files_) throw cannotCreateError(fileName_);
  files_->replaceAll(fileName_, serialize());
}

}  // namespace lumisk
