// Failures of Win32 calls as exceptions, the error box that the window procedures of the value dialogs
// show instead of letting an exception out, and the plain box for what a person must be told.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace lumisk {

// A std::runtime_error whose what() is the system's message for `code` (code page 932), after `what`.
std::runtime_error win32Error(std::string_view what, DWORD code = GetLastError());

// A plain information box over `owner`: caption "Lumisk", one OK button.
void inform(HWND owner, const std::string& text);

// Shows the message of the exception being handled in an error box over `owner`. Never throws; call it
// only inside a catch block.
void reportCurrentException(HWND owner) noexcept;

}  // namespace lumisk
