// FileAccess over the Win32 file functions: whole-file reads and atomic replacement.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "store/Platform.h"

namespace lumisk {

// The Win32 calls through which Win32FileAccess touches the file system, each replaceable: every step of
// a save must hold when any one call fails the way a full disk, a virus scanner or a locked file makes it
// fail. The plug-in uses the defaults, the system's own functions.
struct FileCalls {
  decltype(&::GetFileAttributesW) getFileAttributes = &::GetFileAttributesW;
  decltype(&::CreateFileW) createFile = &::CreateFileW;
  decltype(&::GetFileSizeEx) getFileSize = &::GetFileSizeEx;
  decltype(&::ReadFile) readFile = &::ReadFile;
  decltype(&::WriteFile) writeFile = &::WriteFile;
  decltype(&::FlushFileBuffers) flushFileBuffers = &::FlushFileBuffers;
  decltype(&::CloseHandle) closeHandle = &::CloseHandle;
  decltype(&::MoveFileExW) moveFile = &::MoveFileExW;
  decltype(&::DeleteFileW) deleteFile = &::DeleteFileW;
  decltype(&::Sleep) sleep = &::Sleep;
  decltype(&::GetTempPathW) getTempPath = &::GetTempPathW;
};

// Paths are code page 932 bytes. A path holding a byte sequence that is no character of code page 932,
// or a NUL byte, names no file: it reads as missing and cannot be written.
class Win32FileAccess final : public FileAccess {
 public:
  Win32FileAccess() = default;
  explicit Win32FileAccess(const FileCalls& calls) : calls_(calls) {}

  // std::nullopt when the path is empty or nothing exists there. cannotOpenError(path) when something
  // exists but cannot be opened or read to its end (a folder, a file locked by another program).
  std::optional<std::string> readAll(const std::string& path) override;

  // Writes `bytes` to a new file of a name of its own in the folder of `path`, flushes it to the disk
  // and renames it over `path` in one step, so `path` holds either its old bytes or all the new ones,
  // whatever fails or wherever the process dies; on failure the new file is deleted. A save that
  // succeeds then removes what saves that died (killed, power lost) left in the folder: the files of
  // this naming that no process holds open. Throws
  // cannotCreateError(path) when the new file cannot be created (missing folder, no access, disk full) or
  // `path` may not be replaced (a read-only file, a folder), writeError() when writing, flushing, closing
  // or the rename fails. The new file is not made read-only, hidden or anything else that `path` was.
  // Creating the new file and the rename wait out a file or folder that another program holds for a
  // moment (a virus scanner, the indexer, a synced folder): a sharing or lock violation or access denied
  // is tried again after each of kHeldPausesMs, and counts as a failure only when the last has passed.
  void replaceAll(const std::string& path, std::string_view bytes) override;

  // GetTempPathW in code page 932; std::nullopt when the system names no folder or one that code page 932
  // cannot spell.
  std::optional<std::string> tempFolder() override;

  // The most bytes written by one WriteFile call: a large file is written in several calls, and a
  // failure after the first of them must leave the old file as it was.
  static constexpr std::size_t kWriteChunk = 64 * 1024;
  // How many names a save tries for its new file before it gives up: a name is taken only by a file
  // left from a run that died with the same process id and counter.
  static constexpr int kTempNameAttempts = 16;
  // The pauses before the attempts after the first at creating the new file, and again at the rename,
  // while the file or its folder is held: short at first, as most holds last milliseconds, two seconds
  // in all.
  static constexpr DWORD kHeldPausesMs[] = {10, 30, 60, 100, 200, 300, 500, 800};

 private:
  void removeLeftovers(const std::wstring& folder) noexcept;

  FileCalls calls_;
};

}  // namespace lumisk
