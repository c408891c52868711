#include "store/Platform.h"

#include "store/AsciiText.h"
#include "store/Cp932Path.h"

namespace lumisk {

FileError cannotOpenError(std::string_view fileName) {
  return FileError("ファイル " + std::string(fileName) + " は開けません");
}
FileError cannotCreateError(std::string_view fileName) {
  return FileError("ファイル " + std::string(fileName) + " を作成できません");
}
FileError writeError() { return FileError("ストリームへの書き込みエラー"); }

// The second byte of a double-byte character may look like an ASCII letter ("ア" is 83 41, "ャ" 83 61):
// only single-byte characters are folded.
std::string AsciiCollation::key(std::string_view s) const {
  std::string k(s);
  for (std::size_t i = 0; i < k.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(k[i])))
      ++i;
    else
      k[i] = foldAscii(k[i]);
  }
  return k;
}

bool AsciiCollation::equal(std::string_view a, std::string_view b) const {
  return a.size() == b.size() && key(a) == key(b);
}

}  // namespace lumisk
