// Thin wrapper over a header control: one message per method. It does not own the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace lumisk::controls {

class Header {
 public:
  Header() = default;
  explicit Header(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  void attach(HWND hwnd) { hwnd_ = hwnd; }

  int itemCount() const { return static_cast<int>(SendMessageW(hwnd_, HDM_GETITEMCOUNT, 0, 0)); }
  int insertItem(int index, const HDITEMW& item) const {
    return static_cast<int>(SendMessageW(hwnd_, HDM_INSERTITEMW, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(&item)));
  }
  bool item(int index, HDITEMW& item) const {
    return SendMessageW(hwnd_, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool setItem(int index, const HDITEMW& item) const {
    return SendMessageW(hwnd_, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool itemRect(int index, RECT& rect) const {
    return SendMessageW(hwnd_, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
  }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace lumisk::controls
