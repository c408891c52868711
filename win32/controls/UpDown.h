// Thin wrapper over a spin (up-down) control: one message per method. It does not own the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace lumisk::controls {

class UpDown {
 public:
  UpDown() = default;
  explicit UpDown(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  void attach(HWND hwnd) { hwnd_ = hwnd; }

  void setBuddy(HWND buddy) const { SendMessageW(hwnd_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0); }
  void setRange(int minimum, int maximum) const { SendMessageW(hwnd_, UDM_SETRANGE32, minimum, maximum); }
  void setPos(int position) const { SendMessageW(hwnd_, UDM_SETPOS32, 0, position); }
  // The position; `error` set nonzero when the buddy's text is no number within the range, zero otherwise.
  int pos(BOOL* error) const {
    return static_cast<int>(SendMessageW(hwnd_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
  }
  void range(int& minimum, int& maximum) const {
    SendMessageW(hwnd_, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
  }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace lumisk::controls
