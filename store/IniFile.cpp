#include "store/IniFile.h"

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

}  // namespace

TMemIniFile::TMemIniFile(std::string fileName, FileAccess& files, const Collation& collation)
    : fileName_(std::move(fileName)), files_(&files), collation_(&collation) {
  if (fileName_.empty()) return;
  if (const auto bytes = files.readAll(fileName_)) parse(*bytes);
}

TMemIniFile::TMemIniFile(std::string fileName, std::string_view bytes, const Collation& collation)
    : fileName_(std::move(fileName)), collation_(&collation) {
  parse(bytes);
}

void TMemIniFile::parse(std::string_view bytes) {
  // A NUL byte ends the text.
  if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    std::string_view line = bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (end == std::string_view::npos) {
      pos = bytes.size();
    } else {
      pos = end + 1;
      if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
      current = &sections_.back();
      continue;
    }
    if (current) current->lines.emplace_back(line);
  }
}

void TMemIniFile::clear() {
  sections_.clear();
  byKey_.clear();
  byBytes_.clear();
  indexed_ = false;
}

std::vector<std::string> TMemIniFile::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& s : sections_) names.push_back(s.name);
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
  if (const auto hit = byBytes_.find(std::string(name)); hit != byBytes_.end()) return hit->second;
  if (!indexed_) {
    byKey_.reserve(sections_.size());
    for (std::size_t i = 0; i < sections_.size(); ++i) byKey_.try_emplace(collation_->key(sections_[i].name), i);
    indexed_ = true;
  }
  const auto found = byKey_.find(collation_->key(name));
  if (found == byKey_.end()) return npos;
  // Sections are only ever appended, so the first section of a name stays the first.
  byBytes_.emplace(std::string(name), found->second);
  return found->second;
}

TMemIniFile::Section& TMemIniFile::sectionForWrite(std::string_view name) {
  std::size_t index = findSection(name);
  if (index == npos) {
    index = sections_.size();
    sections_.push_back(Section{std::string(name), {}});
    if (indexed_) byKey_.try_emplace(collation_->key(name), index);
    byBytes_.emplace(std::string(name), index);
  }
  return sections_[index];
}

std::size_t TMemIniFile::findLine(const Section& section, std::string_view key) const {
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    const std::string& line = section.lines[i];
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (sameName(std::string_view(line).substr(0, eq), key)) return i;
  }
  return npos;
}

std::string TMemIniFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const std::size_t s = findSection(section);
  if (s == npos) return std::string(defaultValue);
  const std::size_t l = findLine(sections_[s], key);
  if (l == npos) return std::string(defaultValue);
  const std::string& line = sections_[s].lines[l];
  return line.substr(line.find('=') + 1);
}

int32_t TMemIniFile::readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
  return parseInteger(readString(section, key, "")).value_or(defaultValue);
}

bool TMemIniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TMemIniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  Section& s = sectionForWrite(section);
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);
  if (const std::size_t l = findLine(s, key); l != npos)
    s.lines[l] = std::move(line);
  else
    s.lines.push_back(std::move(line));
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
    size += s.name.size() + 6;
    for (const auto& l : s.lines) size += l.size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const auto& s : sections_) {
    out.append("[").append(s.name).append("]\r\n");
    for (const auto& l : s.lines) out.append(l).append("\r\n");
    out.append("\r\n");
  }
  return out;
}

void TMemIniFile::updateFile() const {
  if (!files_) throw cannotCreateError(fileName_);
  files_->replaceAll(fileName_, serialize());
}

}  // namespace lumisk
