#include "host/HostText.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "store/Cp932Path.h"
#include "win32/Cp932.h"

namespace lumisk::host {
namespace {

std::string hexByte(unsigned char b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string("<x") + kDigits[b >> 4] + kDigits[b & 15] + ">";
}

// One character of code page 932 as UTF-8, when it converts to UTF-16 and back unchanged.
std::optional<std::string> exactCharacter(std::string_view bytes) {
  const std::optional<std::wstring> wide = toWideExact(bytes);
  if (!wide || wide->size() != 1 || toCp932(*wide) != bytes) return std::nullopt;
  return utf8FromWide(*wide);
}

}  // namespace

std::wstring wideFromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) throw std::runtime_error("UTF-8 として読めないテキストです。");
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string utf8FromWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::optional<std::string> cp932FromUtf8(std::string_view utf8) { return toCp932(wideFromUtf8(utf8)); }

std::string cp932OrMark(std::wstring_view wide) { return toCp932(wide).value_or("<not code page 932>"); }

std::string displayText(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() * 3 / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    const auto b = static_cast<unsigned char>(cp932[i]);
    if (b == '\r') {
      out += "<CR>";
    } else if (b == '\n') {
      out += "<LF>";
    } else if (b == '\t') {
      out += "<TAB>";
    } else if (b < 0x20 || b == 0x7F) {
      out += hexByte(b);
    } else if (b < 0x80) {
      out += static_cast<char>(b);
    } else {
      const std::size_t width = isLeadByte(b) && i + 1 < cp932.size() ? 2 : 1;
      if (auto c = exactCharacter(cp932.substr(i, width))) {
        out += *c;
      } else {
        out += hexByte(b);  // the next byte is looked at on its own
        ++i;
        continue;
      }
      i += width;
      continue;
    }
    ++i;
  }
  return out;
}

std::string expandFolders(std::string_view text, std::string_view work, std::string_view data) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i).starts_with("@WORK@")) {
      out += work;
      i += 6;
    } else if (text.substr(i).starts_with("@DATA@")) {
      out += data;
      i += 6;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string currentFolder() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return {};
  std::vector<wchar_t> buffer(n + 1, L'\0');
  const DWORD got = GetCurrentDirectoryW(n + 1, buffer.data());
  std::wstring folder(buffer.data(), got);
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return toCp932(folder).value_or(std::string());
}

}  // namespace lumisk::host
