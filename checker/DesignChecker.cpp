#include "checker/DesignChecker.h"

#include <cstdio>

#include "store/DesignFile.h"
#include "store/IntegerText.h"
#include "store/ValueRules.h"

namespace lumisk {
namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The values the editor offers for a key, in words; empty when `v` is one of them.
std::string outsideEditorRange(int key, int32_t v) {
  if (isOfferedValue(key, v)) return {};
  const KeyType& t = keyType(key);
  switch (t.type) {
    case ValueType::Enumeration: return "0〜" + std::to_string(t.param2 - 1) + " のいずれか";
    case ValueType::SizeList:
      return std::to_string(kSmallestSize) + "〜" + std::to_string(kLargestSize) + " の " +
             std::to_string(kSizeStep) + " の倍数";
    case ValueType::Number: return std::to_string(t.param1) + "〜" + std::to_string(t.param2);
    case ValueType::Colour: return "00000000〜00FFFFFF の色";
    case ValueType::FilePath: break;
  }
  return {};
}

// Colours read best in the hexadecimal form the design files also accept.
std::string valueText(int key, int32_t v) {
  if (keyType(key).type != ValueType::Colour) return formatInteger(v);
  char buf[12];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(static_cast<uint32_t>(v)));
  return buf;
}

}  // namespace

CheckReport checkDesignFile(const TMemIniFile& file, const DesignList& into,
                            const std::function<bool(const std::string&)>& fileExists) {
  CheckReport report;
  DesignList loaded = into;
  const std::size_t before = loaded.count();
  loadDesigns(file, loaded);

  // Walk the sections again in the same order to say what loading did to each.
  std::size_t next = before;
  const std::vector<std::string> sections = file.sectionNames();
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::string& section = sections[i];
    const std::string name = file.readString(section, "Name", "");
    // Loading finds a section by its name, so a repeated header reads the first section again.
    const bool repeated = file.sectionIndex(section) != i;
    if (name.empty()) {
      if (file.sectionIndex(section) != file.sectionIndex("Main"))
        report.findings.push_back({section, "", "Name がないため、デザインとして読み込まれません"});
      continue;
    }
    const std::string& as = loaded.name(next);
    const TDesign& d = loaded.design(next);
    ++next;
    report.designNames.push_back(as);
    if (repeated)
      report.findings.push_back(
          {section, as, "同じ見出し [" + section + "] が前にあるため、この節は読まれず前の節が読み込まれます"});
    if (as != name)
      report.findings.push_back({section, as, "名前 " + quoted(name) + " は重複するため " + quoted(as) + " になります"});
    if (repeated) continue;
    for (int k = 0; k < kIntKeyCount; ++k) {
      const std::string key(intKeyName(k));
      const std::string raw = file.readString(section, key, "\x01");
      if (raw == "\x01") continue;
      if (!parseInteger(raw)) {
        report.findings.push_back({section, as, key + " の値 " + quoted(raw) + " は整数として読めないため、捨てられます"});
        continue;
      }
      if (d.intValues[k] == kUnsetInt) continue;
      const std::string range = outsideEditorRange(k, d.intValues[k]);
      if (!range.empty())
        report.findings.push_back({section, as,
                                   key + " の値 " + valueText(k, d.intValues[k]) + " はエディタの範囲外です (" + range + ")"});
    }
    const std::string& wall = d.wallPaper();
    if (wall != kUnsetText && !wall.empty() && !fileExists(wall))
      report.findings.push_back({section, as, "壁紙 " + quoted(wall) + " が見つかりません"});
  }
  return report;
}

}  // namespace lumisk
