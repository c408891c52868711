// What every control wrapper is: the window its messages go to. One message send per method, no
// ownership of the window. A control that needs nothing beyond its window (a push button) is held as a
// Control itself.
#pragma once

#include <windows.h>

namespace lumisk::controls {

class Control {
 public:
  Control() = default;
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  void attach(HWND hwnd) { hwnd_ = hwnd; }

 protected:
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, message, wParam, lParam);
  }

 private:
  HWND hwnd_ = nullptr;
};

using Button = Control;

}  // namespace lumisk::controls
