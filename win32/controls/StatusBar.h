// Thin wrapper over a status bar in simple mode (one text over the whole bar). It does not own the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win32/controls/Control.h"

namespace lumisk::controls {

class StatusBar : public Control {
 public:
  using Control::Control;

  void setSimple(bool simple) const { send(SB_SIMPLE, simple ? TRUE : FALSE, 0); }
  bool setSimpleText(const wchar_t* text) const {
    return send(SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text)) != 0;
  }
  // In simple mode the one text is read back as part 0 (SB_SIMPLEID only names it for setting).
  int simpleTextLength() const { return LOWORD(send(SB_GETTEXTLENGTHW, 0, 0)); }
  void simpleText(wchar_t* buffer) const { send(SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer)); }
  void setMinHeight(int height) const { send(SB_SETMINHEIGHT, static_cast<WPARAM>(height), 0); }

};

}  // namespace lumisk::controls
