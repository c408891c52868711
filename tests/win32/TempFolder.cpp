#include "tests/win32/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace lumisk::testing {

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  if (!GetTempPathW(MAX_PATH + 1, base)) throw std::runtime_error("GetTempPathW");
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"lumisk-win32-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("CreateDirectoryW");
  }
}

TempFolder::~TempFolder() { removeTree(path_.substr(0, path_.size() - 1)); }

std::vector<std::wstring> namesIn(const std::wstring& folder) {
  std::vector<std::wstring> result;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return result;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") result.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(result.begin(), result.end());
  return result;
}

void removeTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(path.c_str());
    return;
  }
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") removeTree(path + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  // A folder that a file dialog showed may stay watched for a moment after the dialog has gone.
  for (int attempt = 0; attempt < 50 && !RemoveDirectoryW(path.c_str()); ++attempt) Sleep(20);
}

std::string readBytes(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open a test file");
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void writeBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create a test file");
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != bytes.size()) throw std::runtime_error("cannot write a test file");
}

}  // namespace lumisk::testing
