// The host's own INI file on disk (its contents: PadStore.h): read when the windowed host starts and
// replaced, atomically, when it ends. A scripted run never uses it.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "host/PadBoard.h"
#include "store/Platform.h"
#include "win32/Win32FileAccess.h"

namespace lumisk::host {

class PadIniFile {
 public:
  // `path` in code page 932; empty: nothing is read or kept.
  explicit PadIniFile(std::string path) : path_(std::move(path)) {}

  // Sets the pads as the file left them and says what happened, for the transcript (code page 932).
  // A missing file leaves the pads as they start. A file that exists but cannot be read, or holds bytes
  // no INI file has (a NUL), leaves them so too, and is never written over afterwards.
  std::string load(PadBoard& board);

  // Replaces the file with the pads' settings, keeping every other line it holds: a new file of its own
  // in the same folder, moved over the old one in one step. Says what happened, for the transcript.
  // Does nothing after a load that could not read the file, or without a load.
  std::string save(const PadBoard& board);

  const std::string& path() const { return path_; }

 private:
  // The file's bytes; std::nullopt when missing. Throws FileError when it cannot be read, and when it
  // holds a NUL.
  std::optional<std::string> read();

  std::string path_;
  bool loaded_ = false;
  Win32FileAccess files_;
  AsciiCollation collation_;
};

}  // namespace lumisk::host
