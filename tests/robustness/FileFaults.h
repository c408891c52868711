// Win32 file calls that fail on demand, for Win32FileAccess under test: every call is counted and
// recorded, and one of them can be made to fail the way a full disk, a virus scanner or the system's
// permissions fail it. A file can also be made unreadable, or readable only in part.
#pragma once

#include <windows.h>

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "win32/Win32FileAccess.h"

namespace lumisk::testing {

class FileFaults {
 public:
  // One call of the file layer as made: its Win32 name and whether it belongs to writing a file (the
  // new file of a save, its handle, the rename, the delete) rather than to reading one.
  struct Call {
    std::string name;
    bool writing = false;
  };

  // Installs itself as the one instance the call table reaches; at most one lives at a time.
  FileFaults();
  ~FileFaults();
  FileFaults(const FileFaults&) = delete;
  FileFaults& operator=(const FileFaults&) = delete;

  // The table to give Win32FileAccess.
  static FileCalls calls();

  // Forgets the calls made so far and every fault.
  void reset();
  // The call numbered `call` (from 1, counted since the last reset) fails with `error`. With
  // `deleteFailsToo`, the first DeleteFileW after that failure fails the same way. With `held`, so does
  // every later call of that function on the same thing, as while another program holds it: a
  // MoveFileExW onto the same file, a CreateFileW that writes in the same folder.
  void failAt(std::size_t call, DWORD error, bool deleteFailsToo = false, bool held = false);
  // The folder GetTempPathW answers (ending in "\\"); the system's own while empty. Kept by reset().
  void setTempFolder(std::wstring folder) { tempFolder_ = std::move(folder); }
  // Every CreateFileW that opens `path` for reading fails with `error`.
  void denyReading(const std::wstring& path, DWORD error);
  // The first ReadFile on `path` delivers half of what it is asked, the next one fails with `error`.
  void readHalf(const std::wstring& path, DWORD error);

  const std::vector<Call>& made() const { return calls_; }
  // Handles that the calls opened and that are still open.
  std::size_t openHandles() const { return open_.size(); }
  // Whether the scheduled failure happened.
  bool failed() const { return failedAt_ != 0; }
  // The pauses asked for since the last reset, in milliseconds; none is waited.
  DWORD paused() const { return paused_; }

 private:
  friend struct FileFaultCalls;
  // `about` names what the call works on, for a held failure (see failAt); empty when nothing can be held.
  bool failing(const char* name, bool writing = false, std::wstring_view about = {});

  std::vector<Call> calls_;
  std::set<HANDLE> open_;
  std::set<HANDLE> writeHandles_;
  std::size_t failAt_ = 0;
  std::size_t failedAt_ = 0;
  DWORD error_ = 0;
  bool deleteFailsToo_ = false;
  bool held_ = false;
  std::string heldName_;
  bool heldWriting_ = false;
  std::wstring heldAbout_;
  DWORD paused_ = 0;
  std::wstring tempFolder_;
  std::wstring deniedPath_;
  DWORD deniedError_ = 0;
  std::wstring halfPath_;
  DWORD halfError_ = 0;
  HANDLE halfHandle_ = INVALID_HANDLE_VALUE;
  int halfReads_ = 0;
};

}  // namespace lumisk::testing
