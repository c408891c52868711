#include "tests/robustness/FileFaults.h"

#include <stdexcept>

namespace lumisk::testing {
namespace {

FileFaults* gActive = nullptr;

std::wstring_view folderOf(LPCWSTR name) {
  const std::wstring_view path(name);
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring_view::npos ? std::wstring_view() : path.substr(0, last + 1);
}

}  // namespace

// The call table's functions: each records itself and fails where the active plan says so.
struct FileFaultCalls {
  static FileFaults& f() { return *gActive; }

  static DWORD WINAPI getAttributes(LPCWSTR name) {
    if (f().failing("GetFileAttributesW", true)) return INVALID_FILE_ATTRIBUTES;
    return ::GetFileAttributesW(name);
  }

  static HANDLE WINAPI createFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE templ) {
    const bool writing = (access & GENERIC_WRITE) != 0;
    if (f().failing("CreateFileW", writing, folderOf(name))) return INVALID_HANDLE_VALUE;
    if (!writing && !f().deniedPath_.empty() && f().deniedPath_ == name) {
      SetLastError(f().deniedError_);
      return INVALID_HANDLE_VALUE;
    }
    const HANDLE h = ::CreateFileW(name, access, share, security, disposition, flags, templ);
    if (h == INVALID_HANDLE_VALUE) return h;
    f().open_.insert(h);
    if (writing) f().writeHandles_.insert(h);
    if (!writing && !f().halfPath_.empty() && f().halfPath_ == name) {
      f().halfHandle_ = h;
      f().halfReads_ = 0;
    }
    return h;
  }

  static BOOL WINAPI getSize(HANDLE file, PLARGE_INTEGER size) {
    if (f().failing("GetFileSizeEx")) return FALSE;
    return ::GetFileSizeEx(file, size);
  }

  static BOOL WINAPI readFile(HANDLE file, LPVOID buffer, DWORD want, LPDWORD got, LPOVERLAPPED overlapped) {
    if (f().failing("ReadFile")) return FALSE;
    if (file == f().halfHandle_ && f().halfReads_++ > 0) {
      *got = 0;
      SetLastError(f().halfError_);
      return FALSE;
    }
    if (file == f().halfHandle_) want = want / 2 + 1;
    return ::ReadFile(file, buffer, want, got, overlapped);
  }

  static BOOL WINAPI writeFile(HANDLE file, LPCVOID bytes, DWORD want, LPDWORD written, LPOVERLAPPED overlapped) {
    if (f().failing("WriteFile", true)) {
      // A full disk takes part of the bytes before it refuses.
      DWORD some = 0;
      ::WriteFile(file, bytes, want / 2, &some, overlapped);
      *written = 0;
      SetLastError(f().error_);
      return FALSE;
    }
    return ::WriteFile(file, bytes, want, written, overlapped);
  }

  static BOOL WINAPI flush(HANDLE file) {
    if (f().failing("FlushFileBuffers", true)) return FALSE;
    return ::FlushFileBuffers(file);
  }

  // A close that fails still ends the handle, as a write error reported late does.
  static BOOL WINAPI closeHandle(HANDLE h) {
    const bool fails = f().failing("CloseHandle", f().writeHandles_.contains(h));
    f().open_.erase(h);
    f().writeHandles_.erase(h);
    if (h == f().halfHandle_) f().halfHandle_ = INVALID_HANDLE_VALUE;
    const BOOL ok = ::CloseHandle(h);
    if (!fails) return ok;
    SetLastError(f().error_);
    return FALSE;
  }

  static BOOL WINAPI moveFile(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (f().failing("MoveFileExW", true, to)) return FALSE;
    return ::MoveFileExW(from, to, flags);
  }

  static void WINAPI sleep(DWORD ms) { f().paused_ += ms; }

  static DWORD WINAPI getTempPath(DWORD size, LPWSTR buffer) {
    const std::wstring& folder = f().tempFolder_;
    if (folder.empty()) return ::GetTempPathW(size, buffer);
    if (folder.size() >= size) return static_cast<DWORD>(folder.size() + 1);
    folder.copy(buffer, folder.size());
    buffer[folder.size()] = L'\0';
    return static_cast<DWORD>(folder.size());
  }

  static BOOL WINAPI deleteFile(LPCWSTR name) {
    FileFaults& faults = f();
    const bool scheduled = faults.failing("DeleteFileW", true);
    if (scheduled || (faults.deleteFailsToo_ && faults.failedAt_ != 0)) {
      faults.deleteFailsToo_ = false;
      SetLastError(faults.error_);
      return FALSE;
    }
    return ::DeleteFileW(name);
  }
};

FileFaults::FileFaults() {
  if (gActive) throw std::logic_error("one FileFaults at a time");
  gActive = this;
}

FileFaults::~FileFaults() { gActive = nullptr; }

FileCalls FileFaults::calls() {
  FileCalls table;
  table.getFileAttributes = &FileFaultCalls::getAttributes;
  table.createFile = &FileFaultCalls::createFile;
  table.getFileSize = &FileFaultCalls::getSize;
  table.readFile = &FileFaultCalls::readFile;
  table.writeFile = &FileFaultCalls::writeFile;
  table.flushFileBuffers = &FileFaultCalls::flush;
  table.closeHandle = &FileFaultCalls::closeHandle;
  table.moveFile = &FileFaultCalls::moveFile;
  table.deleteFile = &FileFaultCalls::deleteFile;
  table.sleep = &FileFaultCalls::sleep;
  table.getTempPath = &FileFaultCalls::getTempPath;
  return table;
}

void FileFaults::reset() {
  calls_.clear();
  failAt_ = failedAt_ = 0;
  error_ = 0;
  deleteFailsToo_ = false;
  held_ = false;
  heldAbout_.clear();
  paused_ = 0;
  deniedPath_.clear();
  halfPath_.clear();
  halfHandle_ = INVALID_HANDLE_VALUE;
}

void FileFaults::failAt(std::size_t call, DWORD error, bool deleteFailsToo, bool held) {
  reset();
  failAt_ = call;
  error_ = error;
  deleteFailsToo_ = deleteFailsToo;
  held_ = held;
}

void FileFaults::denyReading(const std::wstring& path, DWORD error) {
  deniedPath_ = path;
  deniedError_ = error;
}

void FileFaults::readHalf(const std::wstring& path, DWORD error) {
  halfPath_ = path;
  halfError_ = error;
}

bool FileFaults::failing(const char* name, bool writing, std::wstring_view about) {
  calls_.push_back({name, writing});
  const bool stillHeld = failedAt_ != 0 && held_ && !heldAbout_.empty() && heldName_ == name &&
                         heldWriting_ == writing && heldAbout_ == about;
  if (calls_.size() != failAt_ && !stillHeld) return false;
  if (calls_.size() == failAt_) {
    failedAt_ = failAt_;
    heldName_ = name;
    heldWriting_ = writing;
    heldAbout_ = about;
  }
  SetLastError(error_);
  return true;
}

}  // namespace lumisk::testing
