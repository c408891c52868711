// Where the plug-in's windows stand. The dialogs: in the middle of the primary display, whichever display
// their owner is on, so that the name box and the value dialog always appear in the same place. A window
// placed from stored settings: where it was, unless no display shows any part of it any more.
#pragma once

#include <windows.h>

namespace lumisk {

// Moves `window`, at its present size, to the middle of the primary display. Neither activates it nor
// changes its place in the z-order.
void centreOnPrimaryScreen(HWND window);

// The top left corner of a window of `size` placed at `topLeft` (screen coordinates): the same while a
// display shows any part of the window. Otherwise (the display it was on is gone) moved the shortest way
// into the primary display's work area; a window larger than the work area keeps to its top left corner.
POINT onSomeDisplay(POINT topLeft, SIZE size);

}  // namespace lumisk
