// One pad on the screen: a window drawn from the pad's 24 settings (see PadLayout.h for where the parts
// go, PadPainter.h for how they look). The button under the mouse is the selected one (the first when
// the mouse is elsewhere); the drag bar moves the pad. A right click shows the host's menu: the plug-in
// menu that the host keeps, then the host's own items, hiding or showing the pad and closing it.
// Choosing a plug-in item passes the click to the plug-in with this pad's click value.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/pads/PadLayout.h"
#include "host/pads/PadPainter.h"
#include "win32/WindowBase.h"

namespace lumisk::host {

class PadWindow final : public WindowBase {
 public:
  static constexpr UINT kShowMenuMessage = WM_APP + 1;  // shows the menu as if right-clicked at the centre

  // Creates and shows the window of `host.pads().pads()[index]` at (x, y). `closed` runs when the window
  // has been destroyed.
  PadWindow(HINSTANCE instance, Host& host, std::size_t index, POINT at, std::function<void()> closed);
  ~PadWindow() override;

  HWND handle() const { return hwnd(); }
  const Pad& pad() const { return host_.pads().pads().at(index_); }
  // Fits the window to the pad's settings and draws it anew.
  void refresh();
  // What choosing plug-in menu item `item` on this pad does: the click goes to the plug-in with this
  // pad's click value, and the pad is drawn anew.
  void click(int32_t item);
  // Shrinks the pad to its hidden form, or shows it whole again.
  void setHidden(bool hidden);

  static void registerClass(HINSTANCE instance);
  static void unregisterClass(HINSTANCE instance);

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  // A pad that fails to draw or to show its menu stays as it was; the host goes on, telling no one.
  LRESULT onFailure(UINT message, WPARAM wParam, LPARAM lParam, const char* text) noexcept override;
  // Tells the owner that the window is gone.
  void onGone() override;
  void onPaint();
  void onMouseMove(int x, int y);
  LRESULT onHitTest(LPARAM lParam);
  void showMenu(POINT screen);
  // What the screen allows the pad's client area.
  LayoutLimits limits() const;

  Host& host_;
  std::size_t index_;
  std::function<void()> closed_;
  int textHeight_ = 13;
  PadLayout layout_;   // as the window was last fitted
  int hover_ = -1;     // the button under the mouse, -1 when none
  bool tracking_ = false;
  WallPaperCache wallPapers_;
};

// Places the pads' windows left to right from the work area's top-left corner, starting a new row where
// the next would cross the right edge; no window leaves the work area.
void arrangeWindows(const std::vector<std::unique_ptr<PadWindow>>& windows);

}  // namespace lumisk::host
