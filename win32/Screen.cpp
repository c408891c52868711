#include "win32/Screen.h"

namespace lumisk {

void centreOnPrimaryScreen(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return;
  // The primary display's top left corner is the origin of the screen coordinates.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lumisk
