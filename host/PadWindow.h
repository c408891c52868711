// One pad on the screen: a window drawn from the pad's settings (workspace colour, drag bar, scroll bar,
// Rows x Cols buttons of BtnWidth x BtnHeight in BtnColor, the first one selected, wallpaper). A right
// click shows the plug-in menu that the host keeps; choosing an item passes the click to the plug-in with
// this pad's click value.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "host/Host.h"

namespace lumisk::host {

// Where the parts of a pad go in its client area, from its settings. Out-of-range settings are clamped
// for drawing only; the pad keeps what it was given.
struct PadLayout {
  SIZE client{};
  RECT dragBar{};    // empty when there is none
  RECT scrollBar{};  // empty when there is none
  int scrollSide = 0;  // 1 left, 2 top, 3 right, 4 bottom
  RECT grid{};
  int cols = 1, rows = 1;
  SIZE button{};
};
PadLayout layoutOf(const Pad& pad);

// A setting's colour as GDI takes it: 0x00BBGGRR, or a system colour for a negative value (its low byte
// naming the system colour), as launchers store "button face" and the like.
COLORREF colourOf(int32_t value);

class PadWindow {
 public:
  static constexpr UINT kShowMenuMessage = WM_APP + 1;  // shows the menu as if right-clicked at the centre

  // Creates and shows the window of `host.pads().pads()[index]` at (x, y). `closed` runs when the window
  // has been destroyed.
  PadWindow(HINSTANCE instance, Host& host, std::size_t index, POINT at, std::function<void()> closed);
  ~PadWindow();
  PadWindow(const PadWindow&) = delete;
  PadWindow& operator=(const PadWindow&) = delete;

  HWND handle() const { return window_; }
  const Pad& pad() const { return host_.pads().pads().at(index_); }
  // Fits the window to the pad's settings and draws it anew.
  void refresh();
  // What choosing plug-in menu item `item` on this pad does: the click goes to the plug-in with this
  // pad's click value, and the pad is drawn anew.
  void click(int32_t item);

  static void registerClass(HINSTANCE instance);
  static void unregisterClass(HINSTANCE instance);

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void onPaint();
  void paint(HDC dc);
  void showMenu(POINT screen);
  void drawWallPaper(HDC dc, const RECT& area);

  struct DeleteBitmap {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
  };

  Host& host_;
  std::size_t index_;
  std::function<void()> closed_;
  HWND window_ = nullptr;
  std::string wallPaperPath_;
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmap> wallPaper_;
};

}  // namespace lumisk::host
