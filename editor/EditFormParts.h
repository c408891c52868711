// The editor window's parts, as the form description lists them: its child controls held through their
// wrappers, the menu bar and its shortcuts, the two fonts and the value icons. create() makes them all on
// the window; the controls are its children and go with it, the other objects are owned here.
#pragma once

#include <windows.h>

#include "editor/EditLayout.h"
#include "plugin/InitData.h"
#include "win32/GuiHandles.h"
#include "win32/controls/Control.h"
#include "win32/controls/Header.h"
#include "win32/controls/ListBox.h"
#include "win32/controls/MenuBar.h"
#include "win32/controls/StatusBar.h"

namespace lumisk {

// Child window identifiers; the buttons have the command identifiers kCmdOk and kCmdCancelButton.
enum EditControlId : int {
  kIdDesignList = 10,
  kIdValList = 11,
  kIdHeader = 12,
  kIdStatusBar = 13,
};

// The header's sections never get narrower than their widths at design.
inline constexpr int kCol0MinWidth = kNameColumnDefaultWidth;
inline constexpr int kCol1MinWidth = kValueColumnDefaultWidth;
inline constexpr int kValListMinRowHeight = 15;

struct EditFormParts {
  // Makes every part on `form`, the controls in tab order (design list, value list, OK, Cancel) with the
  // header and the status bar among them, and gives the window its menu bar. Throws std::runtime_error
  // with the message for the person; what was made by then is released by release() or the destructor.
  void create(HWND form, HINSTANCE module);
  // Releases the menu, the shortcuts, the fonts and the icons (the window is gone).
  void release();
  // The value list's row height for the window's font: its text height and a little room.
  int measureRowHeight() const;
  // Paints what the window draws itself, the panels' bevels and the two labels where `layout` puts them.
  void paint(HDC dc, const EditLayout& layout) const;

  MenuHandle MainMenu;
  controls::MenuBar menu;
  AcceleratorHandle accelerators;
  controls::ListBox DesignList;
  controls::Header Header;
  controls::ListBox ValList;
  controls::StatusBar StatusBar;
  controls::Button btOK;
  controls::Button btCamcel;
  ImageListHandle Images;
  FontHandle font;
  FontHandle boldFont;  // the value list's headings
};

}  // namespace lumisk
