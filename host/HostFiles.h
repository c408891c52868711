// Whole-file reads and writes for the host's scripts and checks, with the handle closed on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace lumisk::host {

struct HandleClose {
  void operator()(HANDLE handle) const {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleClose>;

// A file held open as another program holds it: until this object goes or, with a time given, until
// that time has passed, when a thread of its own lets go of it.
class HeldFile {
 public:
  HeldFile(UniqueHandle handle, std::optional<DWORD> forMs);
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile();

 private:
  UniqueHandle handle_;
  UniqueHandle stop_;
  std::thread releaser_;
};

// The file's bytes; std::nullopt when it cannot be opened or read.
std::optional<std::string> readBytes(const std::wstring& path);
// Creates or empties the file and writes `bytes`; false when that fails.
bool writeBytes(const std::wstring& path, std::string_view bytes);

}  // namespace lumisk::host
