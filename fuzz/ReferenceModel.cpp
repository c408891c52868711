#include "fuzz/ReferenceModel.h"

#include <cstdio>
#include <cstdlib>
#include <set>

namespace lumisk::fuzz {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
unsigned hexValue(char c) {
  if (isDigit(c)) return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return static_cast<unsigned>(c - 'A' + 10);
}

std::string_view withoutLeadingZeros(std::string_view digits) {
  while (!digits.empty() && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

std::string folded(std::string_view s) {
  std::string out(s);
  bool trail = false;
  for (char& c : out) {
    if (trail) {
      trail = false;
    } else if (refIsLead(static_cast<unsigned char>(c))) {
      trail = true;
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c + ('a' - 'A'));
    }
  }
  return out;
}

const RefSection* findSection(const std::vector<RefSection>& file, std::string_view name) {
  for (const auto& s : file)
    if (refSameName(s.name, name)) return &s;
  return nullptr;
}

std::optional<std::string> readLine(const RefSection& section, std::string_view key) {
  for (const auto& line : section.lines) {
    const auto eq = line.find('=');
    if (eq != std::string::npos && refSameName(std::string_view(line).substr(0, eq), key))
      return line.substr(eq + 1);
  }
  return std::nullopt;
}

}  // namespace

void fail(const char* what, std::string_view detail) {
  std::fprintf(stderr, "\n*** property violated: %s\n%.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

bool refIsLead(unsigned char b) { return (0x81 <= b && b <= 0x9F) || (0xE0 <= b && b <= 0xFC); }

std::optional<int32_t> refParseInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;

  std::string_view hex;
  bool isHex = true;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    hex = text.substr(2);
  else if (text[0] == '$' || text[0] == 'x' || text[0] == 'X')
    hex = text.substr(1);
  else
    isHex = false;

  if (isHex) {
    if (hex.empty()) return std::nullopt;
    for (char c : hex)
      if (!isHexDigit(c)) return std::nullopt;
    const std::string_view significant = withoutLeadingZeros(hex);
    if (significant.size() > 8) return std::nullopt;
    uint32_t pattern = 0;
    for (char c : significant) pattern = (pattern << 4) | hexValue(c);
    return static_cast<int32_t>(pattern);
  }

  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (!isDigit(c)) return std::nullopt;
  // Compare as digit strings, so that no arithmetic can overflow on the way.
  const std::string_view significant = withoutLeadingZeros(text);
  const std::string_view limit = negative ? "2147483648" : "2147483647";
  if (significant.size() > limit.size() || (significant.size() == limit.size() && significant > limit))
    return std::nullopt;
  int64_t magnitude = 0;
  for (char c : significant) magnitude = magnitude * 10 + (c - '0');
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::string refFormatInteger(int32_t value) {
  int64_t magnitude = value;
  const bool negative = magnitude < 0;
  if (negative) magnitude = -magnitude;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return negative ? "-" + digits : digits;
}

std::size_t refFolderLength(std::string_view path) {
  std::size_t end = 0;
  bool trail = false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto b = static_cast<unsigned char>(path[i]);
    if (trail) {
      trail = false;
    } else if (refIsLead(b)) {
      trail = true;
    } else if (b == '\\' || b == ':') {
      end = i + 1;
    }
  }
  return end;
}

std::size_t refCut(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t best = 0;
  bool trail = false;
  for (std::size_t i = 0; i <= maxBytes; ++i) {
    if (!trail) best = i;  // a character starts here, so a cut here splits none
    if (i == text.size()) break;
    trail = !trail && refIsLead(static_cast<unsigned char>(text[i]));
  }
  return best;
}

std::string refTrim(std::string_view text) {
  auto low = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && low(text.front())) text.remove_prefix(1);
  while (!text.empty() && low(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::vector<RefSection> refParseIni(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<RefSection> file;
  auto take = [&file](const std::string& line) {
    if (line.empty() || line[0] == ';') return;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      file.push_back(RefSection{line.substr(1, line.size() - 2), {}});
    } else if (!file.empty()) {
      file.back().lines.push_back(line);
    }
  };
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      take(line);
      line.clear();
    } else {
      line += bytes[i];
    }
  }
  take(line);
  return file;
}

bool refSameName(std::string_view a, std::string_view b) { return a.size() == b.size() && folded(a) == folded(b); }

std::optional<std::string> refRead(const std::vector<RefSection>& file, std::string_view section,
                                   std::string_view key) {
  const RefSection* s = findSection(file, section);
  if (!s) return std::nullopt;
  return readLine(*s, key);
}

std::string refResolveWallPaper(std::string wall, std::string_view fileName) {
  if (!wall.empty() && wall != "-" && refFolderLength(wall) == 0)
    wall = std::string(fileName.substr(0, refFolderLength(fileName))) + wall;
  if (!wall.empty() && wall.back() == '\\' && refFolderLength(wall) == wall.size()) wall.clear();
  return wall;
}

std::string refLoadDesigns(const std::vector<RefSection>& file, std::string_view fileName, DesignList& list) {
  std::set<std::string> taken;
  for (std::size_t i = 0; i < list.count(); ++i) taken.insert(list.name(i));
  std::string text;
  for (const auto& listed : file) {
    // Every read goes to the first section of the listed name, whichever copy was listed.
    const RefSection& s = *findSection(file, listed.name);
    const std::string read = readLine(s, "Name").value_or("");
    if (read.empty()) continue;
    std::string name = read;
    for (int64_t counter = 2; taken.contains(name); ++counter) name = read + std::to_string(counter);

    TDesign d = TDesign::unset();
    for (int k = 0; k < kIntKeyCount; ++k)
      d.intValues[k] = refParseInteger(readLine(s, intKeyName(k)).value_or("")).value_or(-1);
    d.wallPaper() = refResolveWallPaper(readLine(s, "WallPaper").value_or("-"), fileName);

    taken.insert(name);
    text += "\"" + name + "\"\r\n";
    list.append(std::move(name), std::move(d));
  }
  return text;
}

std::string refSerializeDesigns(const DesignList& list, int32_t firstNumber) {
  std::string out;
  for (std::size_t i = 0; i < list.count(); ++i) {
    out += "[" + refFormatInteger(firstNumber + static_cast<int32_t>(i)) + "]\r\n";
    out += "Name=" + list.name(i) + "\r\n";
    const TDesign& d = list.design(i);
    for (int k = 0; k < kIntKeyCount; ++k)
      if (d.intValues[k] != -1) out += std::string(intKeyName(k)) + "=" + refFormatInteger(d.intValues[k]) + "\r\n";
    if (d.wallPaper() != "-") out += "WallPaper=" + d.wallPaper() + "\r\n";
    out += "\r\n";
  }
  return out;
}

std::string describe(const DesignList& list) {
  auto printable = [](std::string_view s) {
    std::string out;
    for (char c : s) {
      const auto b = static_cast<unsigned char>(c);
      if (b >= 0x20 && b < 0x7F && b != '\\') {
        out += c;
      } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        out += hex;
      }
    }
    return out;
  };
  std::string out;
  for (std::size_t i = 0; i < list.count(); ++i) {
    out += "  \"" + printable(list.name(i)) + "\":";
    for (int32_t v : list.design(i).intValues) out += " " + std::to_string(v);
    out += " WallPaper=\"" + printable(list.design(i).wallPaper()) + "\"\n";
  }
  return out;
}

}  // namespace lumisk::fuzz
