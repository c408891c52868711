// Text at the host's own boundaries. Inside, text is code page 932 bytes as everywhere in Lumisk; the
// host's script files and its transcript on stdout are UTF-8 so that people can read and diff them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumisk::host {

std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

// Code page 932 bytes of a UTF-8 text; std::nullopt when a character has no exact counterpart there.
std::optional<std::string> cp932FromUtf8(std::string_view utf8);

// A text of a window (UTF-16) as code page 932 bytes for the transcript; "<not code page 932>" when a
// character has no exact counterpart there.
std::string cp932OrMark(std::wstring_view wide);

// Code page 932 bytes shown as one line of UTF-8: every character that converts to UTF-16 and back to
// the same bytes appears as itself; every other byte, and every control byte, appears in angle brackets
// (<CR>, <LF>, <TAB>, <xHH>), so that two different byte strings never look the same.
std::string displayText(std::string_view cp932);

// Replaces each "@WORK@" and "@DATA@" in `text` by the given folders.
std::string expandFolders(std::string_view text, std::string_view work, std::string_view data);

// The current folder in code page 932, without a trailing backslash; empty when it cannot be had.
std::string currentFolder();

}  // namespace lumisk::host
