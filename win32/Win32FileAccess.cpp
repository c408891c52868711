#include "win32/Win32FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>
#include <vector>

#include "win32/Cp932.h"

namespace lumisk {
namespace {

// The most bytes asked of one ReadFile call.
constexpr DWORD kReadChunk = 1u << 24;
// How often, and with what growing pauses, the new file of a failed save is deleted.
constexpr int kDeleteAttempts = 4;
constexpr DWORD kDeletePauseMs = 20;

// The path as Windows names it; std::nullopt for a path that names no file (see the header).
std::optional<std::wstring> fileName(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  return toWideExact(path);
}

// Errors that say nothing is at a path, as opposed to something being there that cannot be reached.
bool saysNothingThere(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return true;
    default:
      return false;
  }
}

// Errors of a file or folder that another program holds for a moment, as virus scanners, the indexer
// and synced folders do: worth another attempt a little later.
bool saysHeld(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// The attempts at one step of a save while its file is held: each failure that says so is followed by
// the next pause of kHeldPausesMs, until they are used up.
class HeldRetry {
 public:
  explicit HeldRetry(const FileCalls& calls) : calls_(calls) {}
  // After a failure with `error`: true, after a pause, when another attempt is due.
  bool pauseAfter(DWORD error) {
    if (!saysHeld(error) || next_ == std::size(Win32FileAccess::kHeldPausesMs)) return false;
    calls_.sleep(Win32FileAccess::kHeldPausesMs[next_++]);
    return true;
  }

 private:
  const FileCalls& calls_;
  std::size_t next_ = 0;
};

// Length of the folder part of a path, separator included. In UTF-16 no character hides a "\".
std::size_t folderLength(std::wstring_view path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring_view::npos ? 0 : last + 1;
}

// The new file of a save is named "~lumisk-" + eight hex digits + ".tmp": process id, a counter and the
// clock mixed, so that a file left behind by a run that died is most unlikely to bear it. Creating the
// file with CREATE_NEW, and another name when it exists, covers the rest.
constexpr std::wstring_view kTempPrefix = L"~lumisk-";
constexpr std::wstring_view kTempSuffix = L".tmp";
constexpr std::size_t kTempDigits = 8;
constexpr std::wstring_view kHexDigits = L"0123456789abcdef";

bool isTempFileName(std::wstring_view name) {
  if (name.size() != kTempPrefix.size() + kTempDigits + kTempSuffix.size()) return false;
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  const std::wstring_view digits = name.substr(kTempPrefix.size(), kTempDigits);
  return digits.find_first_not_of(kHexDigits) == std::wstring_view::npos;
}

std::wstring tempFileName() {
  static std::atomic<uint32_t> counter{0};
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  const auto ticks = static_cast<uint64_t>(now.QuadPart);
  uint32_t mix = GetCurrentProcessId() * 2654435761u;
  mix ^= (counter.fetch_add(1) + 1) * 0x9E3779B9u;
  mix ^= static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(ticks >> 32);
  std::wstring name(kTempPrefix);
  for (int shift = 28; shift >= 0; shift -= 4) name.push_back(kHexDigits[(mix >> shift) & 0xF]);
  return name.append(kTempSuffix);
}

// A handle closed through the call table when it goes out of scope, unless closed before.
class FileHandle {
 public:
  FileHandle(const FileCalls& calls, HANDLE handle) : calls_(calls), handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) calls_.closeHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now; false when the system reports a failure. The handle is gone either way.
  bool close() { return calls_.closeHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE; }

 private:
  const FileCalls& calls_;
  HANDLE handle_;
};

// The new file of a save until it has been renamed over the target: deleted on every other way out.
class PendingFile {
 public:
  PendingFile(const FileCalls& calls, std::wstring name, HANDLE handle)
      : calls_(calls), name_(std::move(name)), handle_(calls, handle) {}
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile() {
    if (renamed_) return;
    if (handle_.isOpen()) handle_.close();  // before the delete, so that the file goes at once
    // A virus scanner or an indexer may hold the new file for a moment after it was closed: a delete
    // refused then is tried again a few times rather than leaving the file beside the user's.
    for (int attempt = 1;; ++attempt) {
      if (calls_.deleteFile(name_.c_str())) return;
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || attempt == kDeleteAttempts) return;
      calls_.sleep(kDeletePauseMs * static_cast<DWORD>(attempt));
    }
  }
  HANDLE handle() const { return handle_.get(); }
  const std::wstring& name() const { return name_; }
  void renamed() { renamed_ = true; }

 private:
  const FileCalls& calls_;
  std::wstring name_;
  FileHandle handle_;
  bool renamed_ = false;
};

}  // namespace

void Win32FileAccess::removeLeftovers(const std::wstring& folder) noexcept {
  try {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = folder + std::wstring(kTempPrefix) + L"*" + std::wstring(kTempSuffix);
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTempFileName(found.cFileName))
        names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& name : names) {
      // A save still at work holds its file open for writing from its creation until the rename, and this
      // open, exclusive, fails on it: only a file that no process holds is taken, and deleted when closed.
      const std::wstring path = folder + name;
      const HANDLE file = calls_.createFile(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      if (file != INVALID_HANDLE_VALUE) calls_.closeHandle(file);
    }
  } catch (...) {
    // Tidying up after others is no part of the save, which has succeeded.
  }
}

std::optional<std::string> Win32FileAccess::readAll(const std::string& path) {
  const auto name = fileName(path);
  if (!name) return std::nullopt;
  FileHandle file(
      calls_, calls_.createFile(name->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    if (saysNothingThere(GetLastError())) return std::nullopt;
    throw cannotOpenError(path);
  }
  LARGE_INTEGER size{};
  if (!calls_.getFileSize(file.get(), &size) || size.QuadPart < 0) throw cannotOpenError(path);
  const auto expected = static_cast<uint64_t>(size.QuadPart);
  std::string bytes;
  if (expected >= std::numeric_limits<std::size_t>::max() / 2) throw cannotOpenError(path);
  // Read on until the system reports the end, whatever the size said: the file may change meanwhile. One
  // byte of room beyond the size lets the read that reports the end go without growing the buffer, which
  // would copy the whole file into memory twice its size.
  bytes.resize(static_cast<std::size_t>(expected) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() + 4096);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, kReadChunk));
    DWORD got = 0;
    if (!calls_.readFile(file.get(), bytes.data() + filled, want, &got, nullptr) || got > want)
      throw cannotOpenError(path);
    if (got == 0) break;
    filled += got;
  }
  bytes.resize(filled);
  return bytes;
}

void Win32FileAccess::replaceAll(const std::string& path, std::string_view bytes) {
  const auto target = fileName(path);
  if (!target) throw cannotCreateError(path);

  // A read-only file is the person's way of saying "do not change this". It is checked here rather than
  // left to the rename, which would report it as a failed write, and which a process with the rights of
  // an administrator may not be stopped by at all.
  const DWORD attributes = calls_.getFileAttributes(target->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) throw cannotCreateError(path);
  } else if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) {
    throw cannotCreateError(path);
  }

  const std::wstring folder = target->substr(0, folderLength(*target));
  std::optional<PendingFile> temp;
  HeldRetry creating(calls_);
  for (int nameAttempt = 0; nameAttempt < kTempNameAttempts && !temp;) {
    std::wstring name = folder + tempFileName();
    // Held open until it has been renamed, which the shared delete access allows: so no other save's
    // tidying up (removeLeftovers) can take the file at any moment of this one.
    const HANDLE handle = calls_.createFile(name.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      temp.emplace(calls_, std::move(name), handle);
    } else {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
        ++nameAttempt;
      else if (!creating.pauseAfter(error))
        throw cannotCreateError(path);
    }
  }
  if (!temp) throw cannotCreateError(path);

  for (std::size_t done = 0; done < bytes.size();) {
    const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kWriteChunk));
    DWORD written = 0;
    // A call that reports success for no bytes would loop for ever: it counts as a failure.
    if (!calls_.writeFile(temp->handle(), bytes.data() + done, want, &written, nullptr) || written == 0 ||
        written > want)
      throw writeError();
    done += written;
  }
  if (!calls_.flushFileBuffers(temp->handle())) throw writeError();
  HeldRetry renaming(calls_);
  while (!calls_.moveFile(temp->name().c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    if (!renaming.pauseAfter(GetLastError())) throw writeError();
  temp->renamed();
  // The bytes are on the disk and in place: a close that fails now changes nothing of them.
  temp.reset();
  removeLeftovers(folder);
}

std::optional<std::string> Win32FileAccess::tempFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  DWORD length = calls_.getTempPath(static_cast<DWORD>(folder.size()), folder.data());
  // A longer folder is answered with the room it needs, its terminator included.
  if (length >= folder.size()) {
    folder.resize(length);
    length = calls_.getTempPath(static_cast<DWORD>(folder.size()), folder.data());
  }
  if (length == 0 || length >= folder.size()) return std::nullopt;
  folder.resize(length);
  if (folderLength(folder) != folder.size()) folder += L'\\';
  return toCp932(folder);
}

}  // namespace lumisk
