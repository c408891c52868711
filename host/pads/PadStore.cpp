#include "host/pads/PadStore.h"

#include <array>
#include <optional>
#include <string_view>

namespace lumisk::host {
namespace {

constexpr std::string_view kHiddenKey = "Hidden";

// An INI line cannot hold a line break: such a text (a wallpaper no file has) is stored as no wallpaper
// rather than as lines that would read back as other keys.
std::string_view storable(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos ? value : std::string_view();
}

}  // namespace

std::string padSection(std::size_t index) { return "Pad" + std::to_string(index + 1); }

int readPads(const TMemIniFile& file, PadBoard& board) {
  std::array<std::string_view, kKeyCount + 1> keys;
  for (int k = 0; k < kKeyCount; ++k) keys[static_cast<std::size_t>(k)] = keyName(k);
  keys[kKeyCount] = kHiddenKey;
  std::array<std::optional<std::string_view>, kKeyCount + 1> values;
  int refused = 0;
  for (std::size_t p = 0; p < board.pads().size(); ++p) {
    const std::string section = padSection(p);
    if (file.sectionIndex(section) == TMemIniFile::npos) continue;
    Pad& pad = board.pads()[p];
    file.readValues(section, keys, values);
    for (int k = 0; k < kKeyCount; ++k) {
      const auto& value = values[static_cast<std::size_t>(k)];
      if (!value) continue;
      if (PadBoard::acceptable(k, *value)) pad.values[static_cast<std::size_t>(k)] = std::string(*value);
      else ++refused;
    }
    if (const auto& hidden = values[kKeyCount]) {
      if (*hidden == "0" || *hidden == "1") pad.hidden = *hidden == "1";
      else ++refused;
    }
  }
  return refused;
}

void writePads(const PadBoard& board, TMemIniFile& file) {
  std::array<std::string_view, kKeyCount + 1> keys;
  std::array<std::string_view, kKeyCount + 1> values;
  for (int k = 0; k < kKeyCount; ++k) keys[static_cast<std::size_t>(k)] = keyName(k);
  keys[kKeyCount] = kHiddenKey;
  for (std::size_t p = 0; p < board.pads().size(); ++p) {
    const Pad& pad = board.pads()[p];
    for (int k = 0; k < kKeyCount; ++k) values[static_cast<std::size_t>(k)] = storable(pad.values[static_cast<std::size_t>(k)]);
    values[kKeyCount] = pad.hidden ? "1" : "0";
    file.writeValues(padSection(p), keys, values);
  }
}

}  // namespace lumisk::host
