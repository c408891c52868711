// Where the parts of a pad go, from its 24 settings: the drag bar, the scroll bar with its buttons, the
// workspace, every button with its icon and caption, and the hidden form. Portable, no platform headers:
// the pad window paints what this computes, and tests check it natively.
//
// A pad keeps every value it was given; only what is drawn is held within sane limits. A value that a
// setting does not offer (DragBar 9, BtnCaption -1) counts as the setting's first option; sizes are
// clamped; a grid that would not fit the largest window shows only the buttons that fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PadBoard.h"

namespace lumisk::host {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const Rect&) const = default;
};

struct Extent {
  int width = 0, height = 0;
  bool operator==(const Extent&) const = default;
};

// The values of the position settings (DragBar, ScrollBar).
enum class Side : int { None = 0, Left = 1, Top = 2, Right = 3, Bottom = 4 };
// The values of BtnCaption.
enum class CaptionPlace : int { None = 0, Below = 1, Right = 2 };

// What is drawn for each setting: every value readable and within its drawing limits.
struct PadLook {
  static constexpr int kMinButton = 8, kMaxButton = 256;
  static constexpr int kMinBar = 2, kMaxBar = 120;
  static constexpr int kMinHide = 2, kMaxHide = 120;
  static constexpr int kMaxCols = 200, kMaxRows = 150;
  static constexpr int kBigIcon = 32, kSmallIcon = 16;

  bool vertical = false;  // buttons numbered column by column
  Side dragBar = Side::None;
  bool groupName = false;
  int dragBarSize = 12;
  Side scrollBar = Side::None;
  bool scrollButtons = false;
  bool groupButtons = false;
  int scrollSize = 12;
  bool smallIcon = false;
  int buttonWidth = 32, buttonHeight = 32;  // BtnSquare already applied: height == width
  CaptionPlace caption = CaptionPlace::None;
  // Colours as the pad holds them: 0x00BBGGRR, or a negative value naming a system colour.
  int32_t backColor = 0xC0C0C0, buttonColor = 0xE0E0E0, focusColor = 0x00C0FF, hideColor = 0x808080;
  bool transparent = false;
  bool selectionCovers = false;  // the selected button's colour covers the whole button
  bool hideGroupName = false;
  int hideSize = 6;
  int cols = 1, rows = 1;
  std::string wallPaper;  // empty: none
  bool hidden = false;
};

// `pad`'s settings as drawn.
PadLook lookOf(const Pad& pad);

// What the window around the pad allows, and what the caption font needs.
struct LayoutLimits {
  static constexpr int kMaxSide = 4096;  // whatever the screen says, no pad is larger than this
  int maxWidth = 1600, maxHeight = 1200;  // the largest client area
  int minWidth = 40, minHeight = 24;      // the smallest client area of a shown pad
  int textHeight = 13;                    // one line of caption text
};

struct ButtonBox {
  int number = 0;  // 0-based, in arrangement order
  Rect face;       // the button itself
  Rect icon;       // a square; empty when the face has no room for one
  Rect caption;    // empty when captions are not shown or have no room
};

struct ScrollParts {
  Rect bar, track, thumb;
  Rect back, forward;            // scroll buttons; empty when off
  Rect groupBack, groupForward;  // group switch buttons, at the bar's ends; empty when off
  bool across = false;           // the bar lies along the top or the bottom
};

struct PadLayout {
  Extent client;
  bool hidden = false;
  Rect dragBar;
  Side dragSide = Side::None;
  Rect groupNameText;           // empty when the name is not shown or has no room
  bool groupNameAcross = true;   // false: the bar stands upright and the name runs down it
  ScrollParts scroll;
  Side scrollSide = Side::None;
  Rect workspace;  // the buttons' area: workspace colour and wallpaper
  int shownCols = 0, shownRows = 0;
  int iconSize = 0;  // the side of every button's icon; 0 when there is none
  std::vector<ButtonBox> buttons;
  Rect hiddenBar;   // the whole pad when hidden
  Rect hiddenText;  // the group name on the hidden pad; empty when off or no room
};

PadLayout layoutPad(const PadLook& look, const LayoutLimits& limits);

// The button under (x, y) in client coordinates; -1 when none.
int buttonAt(const PadLayout& layout, int x, int y);

}  // namespace lumisk::host
