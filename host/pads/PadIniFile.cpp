#include "host/pads/PadIniFile.h"

#include <optional>

#include "host/pads/PadStore.h"
#include "store/IniFile.h"

namespace lumisk::host {
namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::optional<std::string> PadIniFile::read() {
  std::optional<std::string> bytes = files_.readAll(path_);
  // The INI object reads up to a NUL: written back, the rest would be lost.
  if (bytes && bytes->find('\0') != std::string::npos) throw FileError("NUL を含むため INI ファイルとして読めません");
  return bytes;
}

std::string PadIniFile::load(PadBoard& board) {
  if (path_.empty()) return "host INI: none, the pads are not kept";
  try {
    const std::optional<std::string> bytes = read();
    const TMemIniFile file(path_, bytes.value_or(std::string()), collation_);
    const int refused = readPads(file, board);
    loaded_ = true;
    if (!bytes) return "host INI " + quoted(path_) + ": none yet, the pads start as they do";
    return "host INI " + quoted(path_) + ": " + std::to_string(refused) + " values refused";
  } catch (const std::exception& e) {
    return "host INI " + quoted(path_) + " cannot be read, left alone: " + e.what();
  }
}

std::string PadIniFile::save(const PadBoard& board) {
  if (path_.empty() || !loaded_) return "host INI: not written";
  try {
    // Read again, so that whatever else the file holds, and whatever changed it meanwhile, stays.
    TMemIniFile file(path_, read().value_or(std::string()), collation_);
    writePads(board, file);
    files_.replaceAll(path_, file.serialize());
    return "host INI " + quoted(path_) + " written";
  } catch (const std::exception& e) {
    return "host INI " + quoted(path_) + " not written: " + e.what();
  }
}

}  // namespace lumisk::host
