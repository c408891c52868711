// Thin wrapper over a combo box: one message per method.
#pragma once

#include <windows.h>

#include "win32/controls/Control.h"

namespace lumisk::controls {

class ComboBox : public Control {
 public:
  using Control::Control;

  int addString(const wchar_t* text) const { return send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
  int curSel() const { return send(CB_GETCURSEL); }
  int setCurSel(int index) const { return send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  // `index` -1: the selection field; an owner-drawn list's rows otherwise.
  int setItemHeight(int index, int height) const {
    return send(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
  }
  void setEditSel(int start, int end) const { send(CB_SETEDITSEL, 0, MAKELPARAM(start, end)); }

 private:
  int send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return static_cast<int>(Control::send(message, wParam, lParam));
  }
};

}  // namespace lumisk::controls
