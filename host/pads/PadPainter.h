// Paints a pad from its layout: workspace colour and wallpaper, drag bar with the group name, scroll bar
// with its scroll and group switch buttons, the buttons with icon and caption, the selected button, and
// the hidden form. Everything is drawn into a bitmap of the pad's own first and copied in one step, so
// that a pad never flickers; the device context given is left as it was found.
#pragma once

#include <windows.h>

#include <string>

#include "host/pads/PadLayout.h"
#include "win32/GuiHandles.h"

namespace lumisk::host {

// A setting's colour as GDI takes it: 0x00BBGGRR, or a system colour for a negative value (its low byte
// naming the system colour), as launchers store "button face" and the like.
COLORREF colourOf(int32_t value);

// The bitmap that a pad's WallPaper names, read once per path. A path that names no readable bitmap
// gives none, and is not tried again until the path changes.
class WallPaperCache {
 public:
  // nullptr when `path` is empty or names nothing readable. The bitmap stays owned by the cache.
  HBITMAP bitmap(const std::string& path);

 private:
  std::string path_;
  bool tried_ = false;
  BitmapHandle bitmap_;
};

// The height of one line of caption text: what LayoutLimits::textHeight should be.
int captionTextHeight();

struct PadPaint {
  const PadLayout& layout;
  const PadLook& look;
  const std::string& groupName;  // code page 932
  int selected = 0;              // the selected button's number; -1 for none
};

// Paints `paint` into `dc` at (0, 0), over the layout's client extent.
void paintPad(HDC dc, const PadPaint& paint, WallPaperCache& wallPapers);

}  // namespace lumisk::host
