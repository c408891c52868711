// Code page 932 text at the Win32 boundary. The core holds every text as code page 932 bytes; Windows is
// always called through its W functions, so each text crosses here, with the code page named explicitly
// and never taken from the system (an English Windows would otherwise read the bytes as code page 1252).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumisk {

// UTF-16 for showing `cp932`. Never fails: a byte sequence that is no character of code page 932 becomes
// U+30FB, the code page's default character, and so does a lead byte left alone at the end. Embedded NUL
// bytes are kept.
std::wstring toWide(std::string_view cp932);

// UTF-16 for naming something, such as a file: std::nullopt when any byte sequence of `cp932` is no
// character of code page 932 (a lone lead byte at the end included), so that a damaged name never turns
// into another, valid one.
std::optional<std::wstring> toWideExact(std::string_view cp932);

// The code page 932 bytes of `wide`; std::nullopt when any character has no exact counterpart there
// (no "best fit": U+00A5 does not become "\", U+00E9 not "e"), a lone surrogate included.
std::optional<std::string> toCp932(std::wstring_view wide);

namespace detail {
// The conversions above, done in pieces of at most `chunk` input units, never splitting a double-byte
// character or a surrogate pair: how texts longer than the API's int counts are converted. Exposed so
// that the piece boundaries can be tested with small pieces.
std::optional<std::wstring> toWideChunked(std::string_view cp932, bool exact, std::size_t chunk);
std::optional<std::string> toCp932Chunked(std::wstring_view wide, std::size_t chunk);
}  // namespace detail

}  // namespace lumisk
