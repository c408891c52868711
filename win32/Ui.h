// The look the plug-in's windows and dialogs share, and reading a window's text back.
#pragma once

#include <windows.h>

#include <string>

#include "win32/GuiHandles.h"

namespace lumisk {

// The face of every text in the plug-in's windows and dialogs (code page 932). A Japanese face, so that
// the interface looks the same whatever the language of Windows.
inline constexpr const char* kUiFontFace = "ＭＳ Ｐゴシック";
// Its size: 12 pixels high, or 9 points where a dialog template measures it.
inline constexpr int kUiFontPixels = 12;
inline constexpr WORD kUiFontPoints = 9;

// The UI font with the Shift JIS character set, of weight `weight` (FW_NORMAL, FW_BOLD). Null when GDI
// cannot make it; the caller says so in its own words.
FontHandle createUiFont(int weight = FW_NORMAL);

// Everything `window` shows as its text (an edit field's contents, a control's label, a caption); empty
// for none.
std::wstring windowText(HWND window);

}  // namespace lumisk
