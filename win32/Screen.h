// Where the plug-in's dialogs stand: in the middle of the primary display, whichever display their owner
// is on, so that the name box and the value dialog always appear in the same place.
#pragma once

#include <windows.h>

namespace lumisk {

// Moves `window`, at its present size, to the middle of the primary display. Neither activates it nor
// changes its place in the z-order.
void centreOnPrimaryScreen(HWND window);

}  // namespace lumisk
