// Where every control of the design editor window sits for a given client area. Portable: the window
// only moves its controls to these rectangles and paints the bevels and labels they name.
//
// The panels are areas, not windows: the window paints their bevels, and the controls inside them are
// children of the window itself, so that every notification reaches one window procedure.
#pragma once

#include "plugin/InitData.h"

namespace lumisk {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const LayoutRect&) const = default;
};

// Outer window size at design, which is also the smallest the window may become.
inline constexpr int kEditFormDesignWidth = kEditorDefaultWidth;
inline constexpr int kEditFormDesignHeight = kEditorDefaultHeight;

inline constexpr int kBottomPanelHeight = 40;
inline constexpr int kLeftPanelWidth = 150;
inline constexpr int kPanelBorder = 5;
inline constexpr int kLabelHeight = 21;
inline constexpr int kHeaderHeight = 17;
inline constexpr int kTopBevel = 1;     // raised inner bevel of the upper panel
inline constexpr int kSunkenBevel = 2;  // lowered outer and inner bevel around the value list
// The status bar sits in a band along the bottom of the upper panel, inside a border of its own.
inline constexpr int kStatusBarBorder = 3;
inline constexpr int kStatusBarHeight = 19;
inline constexpr int kStatusBandHeight = kStatusBarHeight + 2 * kStatusBarBorder;

inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kOkButtonLeft = 176;
inline constexpr int kCancelButtonLeft = 280;
inline constexpr int kButtonTop = 7;

struct EditLayout {
  // Areas (painted by the window).
  LayoutRect pnTop;
  LayoutRect pnBottom;
  LayoutRect pnLeft;
  LayoutRect pnRight;
  LayoutRect pnRBottom;
  LayoutRect statusBand;  // empty while the status bar is hidden
  // Labels (painted by the window).
  LayoutRect lbDesign;
  LayoutRect lbValue;
  // Child windows.
  LayoutRect designList;
  LayoutRect header;
  LayoutRect valList;
  LayoutRect statusBar;  // empty while hidden
  LayoutRect btOK;
  LayoutRect btCamcel;
};

// The layout for a client area of `clientWidth` x `clientHeight` pixels. Sizes never turn negative: a
// client area too small for the fixed parts gives empty rectangles, not inverted ones.
EditLayout computeEditLayout(int clientWidth, int clientHeight, bool statusBarVisible);

}  // namespace lumisk
