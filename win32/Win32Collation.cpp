#include "win32/Win32Collation.h"

#include <windows.h>

#include <climits>
#include <stdexcept>

#include "win32/Cp932.h"

namespace lumisk {
namespace {

constexpr DWORD kCompareFlags = NORM_IGNORECASE;

[[noreturn]] void collationFailed() { throw std::runtime_error("文字列の比較に失敗しました。"); }

// The counts the API takes. An empty text is passed NUL-terminated with -1: LCMapStringW refuses a
// count of 0, and the empty text must still have the sort key of the empty text.
int countOf(const std::wstring& text) {
  if (text.size() > static_cast<std::size_t>(INT_MAX)) collationFailed();
  return text.empty() ? -1 : static_cast<int>(text.size());
}

}  // namespace

bool Win32Collation::equal(std::string_view a, std::string_view b) const {
  const std::wstring wa = toWide(a);
  const std::wstring wb = toWide(b);
  const int result =
      CompareStringW(LOCALE_USER_DEFAULT, kCompareFlags, wa.c_str(), countOf(wa), wb.c_str(), countOf(wb));
  if (result == 0) collationFailed();
  return result == CSTR_EQUAL;
}

std::string Win32Collation::key(std::string_view s) const {
  const std::wstring wide = toWide(s);
  const int count = countOf(wide);
  const DWORD flags = LCMAP_SORTKEY | kCompareFlags;
  // With LCMAP_SORTKEY the destination is a byte array and its size is counted in bytes.
  const int needed = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), count, nullptr, 0);
  if (needed <= 0) collationFailed();
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  const int written =
      LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.c_str(), count, reinterpret_cast<LPWSTR>(bytes.data()), needed);
  if (written <= 0) collationFailed();
  bytes.resize(static_cast<std::size_t>(written));
  if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
  return bytes;
}

}  // namespace lumisk
