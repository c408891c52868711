// The plug-in's message boxes, and failures of Win32 calls as exceptions. Every box of the plug-in is
// one of these: a plain box for what a person must be told or is refused, an error box for a failure.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace lumisk {

inline constexpr const char* kBoxCaption = "Lumisk";

// MessageBoxW with `text` and `caption` in code page 932, in the foreground, modal to the whole thread
// (a PromptScope), so that no window of it is used meanwhile. The button pressed.
int messageBox(HWND owner, const std::string& text, const char* caption, UINT type);

// Caption "Lumisk", no icon, one OK button.
void plainBox(HWND owner, const std::string& text);
// Caption "Lumisk", error icon, one OK button.
void errorBox(HWND owner, const std::string& text);

// An error box with `text` over `owner` for a failure caught in a window, dialog or hook procedure. Never
// throws: a box that cannot be shown (no memory) is left out.
void reportFailure(HWND owner, const char* text) noexcept;

// A std::runtime_error whose what() is the system's message for `code` (code page 932), after `what`.
std::runtime_error win32Error(std::string_view what, DWORD code = GetLastError());

}  // namespace lumisk
