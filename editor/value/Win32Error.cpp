#include "editor/value/Win32Error.h"

#include <exception>

#include "win32/Cp932.h"

namespace lumisk {
namespace {

std::string systemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return "エラー " + std::to_string(code);
  return toCp932(text).value_or("エラー " + std::to_string(code));
}

}  // namespace

std::runtime_error win32Error(std::string_view what, DWORD code) {
  std::string message(what);
  message += ": ";
  message += systemMessage(code);
  return std::runtime_error(message);
}

void inform(HWND owner, const std::string& text) {
  MessageBoxW(owner, toWide(text).c_str(), L"Lumisk", MB_OK | MB_ICONINFORMATION);
}

void reportCurrentException(HWND owner) noexcept {
  try {
    std::string message = "予期しないエラーが発生しました。";
    try {
      throw;
    } catch (const std::exception& e) {
      message = e.what();
    } catch (...) {
    }
    MessageBoxW(owner, toWide(message).c_str(), L"Lumisk", MB_OK | MB_ICONERROR);
  } catch (...) {
    // Not even the box could be shown (no memory): the failure stays silent rather than escape.
  }
}

}  // namespace lumisk
