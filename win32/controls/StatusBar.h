// Thin wrapper over a status bar in simple mode (one text over the whole bar). It does not own the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace lumisk::controls {

class StatusBar {
 public:
  StatusBar() = default;
  explicit StatusBar(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  void attach(HWND hwnd) { hwnd_ = hwnd; }

  void setSimple(bool simple) const { SendMessageW(hwnd_, SB_SIMPLE, simple ? TRUE : FALSE, 0); }
  bool setSimpleText(const wchar_t* text) const {
    return SendMessageW(hwnd_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text)) != 0;
  }
  // In simple mode the one text is read back as part 0 (SB_SIMPLEID only names it for setting).
  int simpleTextLength() const { return LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, 0, 0)); }
  void simpleText(wchar_t* buffer) const { SendMessageW(hwnd_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer)); }
  void setMinHeight(int height) const { SendMessageW(hwnd_, SB_SETMINHEIGHT, static_cast<WPARAM>(height), 0); }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace lumisk::controls
