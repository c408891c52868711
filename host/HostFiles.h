// Whole-file reads and writes for the host's scripts and checks, with the handle closed on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lumisk::host {

struct HandleClose {
  void operator()(HANDLE handle) const {
    if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleClose>;

// The file's bytes; std::nullopt when it cannot be opened or read.
std::optional<std::string> readBytes(const std::wstring& path);
// Creates or empties the file and writes `bytes`; false when that fails.
bool writeBytes(const std::wstring& path, std::string_view bytes);

}  // namespace lumisk::host
