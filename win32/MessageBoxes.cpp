#include "win32/MessageBoxes.h"

#include "win32/Cp932.h"
#include "win32/PromptScope.h"

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

int messageBox(HWND owner, const std::string& text, const char* caption, UINT type) {
  // Every box answers a click of the person's, so it takes the keyboard even where no window of the
  // host had it.
  type |= MB_SETFOREGROUND;
  if (!owner) type |= MB_TASKMODAL;
  const PromptScope modal(owner);
  return MessageBoxW(owner, toWide(text).c_str(), toWide(caption).c_str(), type);
}

void plainBox(HWND owner, const std::string& text) { messageBox(owner, text, kBoxCaption, MB_OK); }

void errorBox(HWND owner, const std::string& text) { messageBox(owner, text, kBoxCaption, MB_OK | MB_ICONERROR); }

void reportFailure(HWND owner, const char* text) noexcept {
  try {
    errorBox(owner, text);
  } catch (...) {
    // Not even the box could be shown (no memory): the failure stays silent rather than escape.
  }
}

std::runtime_error win32Error(std::string_view what, DWORD code) {
  std::string message(what);
  message += ": ";
  message += systemMessage(code);
  return std::runtime_error(message);
}

}  // namespace lumisk
