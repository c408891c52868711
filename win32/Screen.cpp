#include "win32/Screen.h"

#include <algorithm>
#include <climits>

namespace lumisk {

void centreOnPrimaryScreen(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return;
  // The primary display's top left corner is the origin of the screen coordinates.
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT onSomeDisplay(POINT topLeft, SIZE size) {
  // Stored settings may hold any 32-bit values: the far edges are computed wide and kept in range.
  auto edge = [](LONG from, LONG extent) {
    return static_cast<LONG>(std::clamp<long long>(static_cast<long long>(from) + extent, LONG_MIN, LONG_MAX));
  };
  const RECT bounds{topLeft.x, topLeft.y, edge(topLeft.x, size.cx), edge(topLeft.y, size.cy)};
  if (MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL)) return topLeft;
  MONITORINFO primary{};
  primary.cbSize = sizeof primary;
  // The primary display is the one at the origin of the screen coordinates.
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &primary)) return topLeft;
  const RECT& work = primary.rcWork;
  auto place = [](long long at, long long extent, long long low, long long high) {
    return static_cast<LONG>(std::max(low, std::min(at, high - extent)));
  };
  return POINT{place(topLeft.x, size.cx, work.left, work.right), place(topLeft.y, size.cy, work.top, work.bottom)};
}

}  // namespace lumisk
