#include "store/IniFile.h"

#include <algorithm>
#include <cstring>

#include "store/IntegerText.h"

namespace lumisk {
namespace {

constexpr bool isAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool allAsciiAlnum(std::string_view s) {
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

// FNV-1a over the folded bytes of a key, kept below the marks above.
constexpr uint32_t kHashStart = 2166136261u;
constexpr uint32_t hashStep(uint32_t h, char c) { return (h ^ static_cast<unsigned char>(foldAscii(c))) * 16777619u; }
constexpr uint32_t hashEnd(uint32_t h) { return h & 0x7FFFFFFF; }

// The key hash of a line: that of the bytes before its first "=" when they are all ASCII letters and
// digits, kCollatedKey when they are not, kNoKey without "=". One pass over the key.
uint32_t lineKeyHash(std::string_view line) {
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
uint32_t wantedKeyHash(std::string_view key) {
  uint32_t h = kHashStart;
  for (char c : key) {
    if (!isAsciiAlnum(c)) return kCollatedKey;
    h = hashStep(h, c);
  }
  return hashEnd(h);
}

// Whether `line` holds `key`, a key of ASCII letters and digits: its bytes before the first "=" are those
// of the key, letter case aside (as sameName compares such keys). Mostly they are the very bytes.
bool holdsPlainKey(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line[key.size()] != '=') return false;
  if (line.starts_with(key)) return true;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (foldAscii(line[i]) != foldAscii(key[i])) return false;
  return true;
}

// Whether a line of key hash `line` may hold a key of lookup hash `wanted`.
bool mayMatch(uint32_t line, uint32_t wanted) {
  return line != kNoKey && (line == wanted || line == kCollatedKey || wanted == kCollatedKey);
}

// CR or LF. No byte above CR is either, so most bytes take one comparison.
bool isLineBreak(char c) { return static_cast<unsigned char>(c) <= '\r' && (c == '\r' || c == '\n'); }

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
char* storeLine(char* out, std::string_view key, std::string_view value) {
  out = std::copy(key.begin(), key.end(), out);
  *out++ = '=';
  out = std::copy(value.begin(), value.end(), out);
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

// Empty lines and comment lines are no part of a section.
bool isContent(std::string_view line) { return !line.empty() && line.front() != ';'; }

}  // namespace

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
  // stands need a look. A NUL byte ends the text; strchr stops at the first one as at the end, so one
  // pass finds both the "["s and, past the last of them, where the text ends. (Two searches over the
  // whole text, for the NUL and for "[", cost twice the time where the C library searches byte by
  // byte, as Wine's does.) The headers are found first, so that the sections take one allocation.
  std::vector<std::size_t> headers;  // at first every "[" that starts a line
  std::size_t last = 0;
  for (const char* open = std::strchr(text_.c_str(), '['); open; open = std::strchr(open + 1, '[')) {
    last = static_cast<std::size_t>(open - text_.c_str());
    if (last == 0 || text_[last - 1] == '\r' || text_[last - 1] == '\n') headers.push_back(last);
  }
  text_.resize(last + std::strlen(text_.c_str() + last));
  const std::string_view text = text_;
  LineSplitter lines(text, 0, text.size());
  std::size_t offset = 0, length = 0;
  std::erase_if(headers, [&](std::size_t open) {
    lines.skipTo(open);
    lines.next(offset, length);
    return length < 2 || text[offset + length - 1] != ']';
  });
  sections_.reserve(headers.size());
  for (const std::size_t header : headers) {
    lines.skipTo(header);
    lines.next(offset, length);
    // Lines before the first header belong to no section and are dropped.
    if (!sections_.empty()) sections_.back().rawEnd = offset;
    Section& section = sections_.emplace_back();
    section.nameOffset = offset + 1;
    section.nameLength = length - 2;
    section.rawBegin = section.rawEnd = lines.position();
  }
  if (!sections_.empty()) sections_.back().rawEnd = text_.size();
}

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
  for (std::size_t i = 0; i < sections_.size() && !collated_; ++i)
    collated_ = !allAsciiAlnum(sectionName(sections_[i]));
  bySectionKey_.clear();
  bySectionKey_.reserve(sections_.size());
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const std::string_view own = sectionName(sections_[i]);
    const uint64_t h = keyHash(own);
    sections_[i].repeated = bySectionKey_.find(h, sameAs(own)) != npos;
    if (!sections_[i].repeated) bySectionKey_.insert(h, i);
  }
  indexed_ = true;
}

uint64_t TMemIniFile::keyHash(std::string_view name) const {
  if (collated_) return std::hash<std::string_view>{}(collation_->key(name));
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (char c : name) h = (h ^ static_cast<unsigned char>(foldAscii(c))) * 1099511628211ull;
  return h;
}

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
  section.nameOffset = text_.size();
  section.nameLength = name.size();
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
    Section& target = sections_[s];
    target.rawBegin = text_.size();
    text_.resize(target.rawBegin + size);
    char* out = text_.data() + target.rawBegin;
    for (std::size_t k = 0; k < keys.size(); ++k)
      if (const std::string_view* value = valueOf(k)) out = storeLine(out, keys[k], *value);
    target.rawEnd = text_.size();
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
