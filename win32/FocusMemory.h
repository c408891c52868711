// The focus of a window's controls across activation. A dialog gives the focus back to the control that
// had it when the person comes back to it; a plain window that holds controls does the same through one
// of these: it notes the focused control when the window is deactivated (WM_ACTIVATE) and hands the
// focus on to it when the window itself gets the focus (WM_SETFOCUS).
#pragma once

#include <windows.h>

namespace lumisk {

class FocusMemory {
 public:
  void onActivate(HWND window, WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) return;
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) last_ = focus;
  }
  // The control noted last, or `first` when none was noted or it is gone.
  void onSetFocus(HWND first) const { SetFocus(last_ && IsWindow(last_) ? last_ : first); }

 private:
  HWND last_ = nullptr;
};

}  // namespace lumisk
