#include "host/HostFiles.h"

#include <stdexcept>

namespace lumisk::host {

HeldFile::HeldFile(UniqueHandle handle, std::optional<DWORD> forMs) : handle_(std::move(handle)) {
  if (!forMs) return;
  stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) throw std::runtime_error("cannot create an event");
  releaser_ = std::thread([this, ms = *forMs] {
    WaitForSingleObject(stop_.get(), ms);
    handle_.reset();
  });
}

HeldFile::~HeldFile() {
  if (!releaser_.joinable()) return;
  SetEvent(stop_.get());
  releaser_.join();
}

std::optional<std::string> readBytes(const std::wstring& path) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size()))
    return std::nullopt;
  return bytes;
}

bool writeBytes(const std::wstring& path, std::string_view bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  return bytes.empty() || (WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

}  // namespace lumisk::host
