#include "store/Cp932Path.h"

namespace lumisk {

std::size_t folderPartLength(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size();) {
    const auto b = static_cast<unsigned char>(path[i]);
    if (isLeadByte(b)) {
      i += 2;
      continue;
    }
    if (b == '\\' || b == ':') end = i + 1;
    ++i;
  }
  return end;
}

bool hasFolderPart(std::string_view path) {
  for (std::size_t i = 0; i < path.size(); i += isLeadByte(static_cast<unsigned char>(path[i])) ? 2 : 1)
    if (path[i] == '\\' || path[i] == ':') return true;
  return false;
}

std::size_t characterBoundaryAtOrBelow(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  std::size_t i = 0;
  while (i < maxBytes) {
    const std::size_t step = isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return i;
}

}  // namespace lumisk
