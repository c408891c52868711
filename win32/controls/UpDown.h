// Thin wrapper over a spin (up-down) control: one message per method.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win32/controls/Control.h"

namespace lumisk::controls {

class UpDown : public Control {
 public:
  using Control::Control;

  void setBuddy(HWND buddy) const { send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0); }
  void setRange(int minimum, int maximum) const { send(UDM_SETRANGE32, minimum, maximum); }
  void setPos(int position) const { send(UDM_SETPOS32, 0, position); }
  // The position; `error` set nonzero when the buddy's text is no number within the range, zero otherwise.
  int pos(BOOL* error) const {
    return static_cast<int>(send(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(error)));
  }
  void range(int& minimum, int& maximum) const {
    send(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
  }

};

}  // namespace lumisk::controls
