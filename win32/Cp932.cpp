#include "win32/Cp932.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "store/Cp932Path.h"

namespace lumisk {
namespace {

constexpr UINT kCodePage = 932;
// Well inside the int counts of the conversion functions, also for the output: a piece of this many
// bytes gives at most this many UTF-16 units, and this many UTF-16 units at most twice as many bytes.
constexpr std::size_t kPiece = std::size_t{1} << 28;
constexpr wchar_t kDefaultChar = 0x30FB;  // what the code page gives for a byte sequence it cannot map

[[noreturn]] void conversionFailed() { throw std::runtime_error("文字コードの変換に失敗しました。"); }

// Length of `text` without a lead byte left alone at its end.
std::size_t completeLength(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) i += isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
  return i == text.size() ? i : text.size() - 1;
}

// Appends the conversion of one piece; false when `exact` and the piece holds an invalid sequence.
bool appendWide(std::string_view piece, bool exact, std::wstring& out) {
  if (piece.empty()) return true;
  const DWORD flags = exact ? MB_ERR_INVALID_CHARS : 0;
  const int length = static_cast<int>(piece.size());
  const int needed = MultiByteToWideChar(kCodePage, flags, piece.data(), length, nullptr, 0);
  if (needed <= 0) {
    if (exact && GetLastError() == ERROR_NO_UNICODE_TRANSLATION) return false;
    conversionFailed();
  }
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(needed));
  if (MultiByteToWideChar(kCodePage, flags, piece.data(), length, out.data() + old, needed) != needed)
    conversionFailed();
  return true;
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

namespace detail {

std::optional<std::wstring> toWideChunked(std::string_view cp932, bool exact, std::size_t chunk) {
  chunk = std::max<std::size_t>(chunk, 2);  // a piece must hold at least one double-byte character
  std::wstring wide;
  const std::size_t complete = completeLength(cp932);
  const std::string_view whole = cp932.substr(0, complete);
  for (std::size_t pos = 0; pos < whole.size();) {
    const std::string_view rest = whole.substr(pos);
    const std::size_t take = characterBoundaryAtOrBelow(rest, chunk);
    if (!appendWide(rest.substr(0, take), exact, wide)) return std::nullopt;
    pos += take;
  }
  // The system tables disagree on a lead byte without its second byte (some drop it); it is a character
  // that could not be mapped, like any other.
  if (complete != cp932.size()) {
    if (exact) return std::nullopt;
    wide.push_back(kDefaultChar);
  }
  return wide;
}

std::optional<std::string> toCp932Chunked(std::wstring_view wide, std::size_t chunk) {
  chunk = std::max<std::size_t>(chunk, 2);  // a piece must hold at least one surrogate pair
  std::string bytes;
  for (std::size_t pos = 0; pos < wide.size();) {
    std::size_t take = std::min(chunk, wide.size() - pos);
    if (pos + take < wide.size() && isHighSurrogate(wide[pos + take - 1])) --take;
    const wchar_t* piece = wide.data() + pos;
    const int length = static_cast<int>(take);
    BOOL usedDefault = FALSE;
    const int needed =
        WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, piece, length, nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0) conversionFailed();
    if (usedDefault) return std::nullopt;
    const std::size_t old = bytes.size();
    bytes.resize(old + static_cast<std::size_t>(needed));
    if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, piece, length, bytes.data() + old, needed, nullptr,
                            &usedDefault) != needed)
      conversionFailed();
    if (usedDefault) return std::nullopt;
    pos += take;
  }
  return bytes;
}

}  // namespace detail

std::wstring toWide(std::string_view cp932) { return *detail::toWideChunked(cp932, false, kPiece); }

std::optional<std::wstring> toWideExact(std::string_view cp932) { return detail::toWideChunked(cp932, true, kPiece); }

std::optional<std::string> toCp932(std::wstring_view wide) { return detail::toCp932Chunked(wide, kPiece); }

}  // namespace lumisk
