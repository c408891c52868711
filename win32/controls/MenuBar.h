// Thin wrapper over a menu handle: items addressed by command identifier. It does not own the menu.
#pragma once

#include <windows.h>

namespace lumisk::controls {

class MenuBar {
 public:
  MenuBar() = default;
  explicit MenuBar(HMENU menu) : menu_(menu) {}
  HMENU handle() const { return menu_; }
  void attach(HMENU menu) { menu_ = menu; }

  void enable(UINT command, bool enabled) const {
    EnableMenuItem(menu_, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
  bool enabled(UINT command) const {
    return (GetMenuState(menu_, command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0;
  }
  void check(UINT command, bool checked) const {
    CheckMenuItem(menu_, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
  }
  bool checked(UINT command) const { return (GetMenuState(menu_, command, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  int text(UINT command, wchar_t* buffer, int size) const {
    return GetMenuStringW(menu_, command, buffer, size, MF_BYCOMMAND);
  }

 private:
  HMENU menu_ = nullptr;
};

}  // namespace lumisk::controls
