// Compiled only into lumisk-probe.oqx, the test build of the plug-in: one more export through which a
// host that loads and frees the library over and over can see that the editor's Win32 objects (fonts,
// brushes, bitmaps, image lists, menus, accelerator tables, hooks, device contexts) are all released.
#include <windows.h>

#include <cstdint>

#include "win32/GuiHandles.h"

extern "C" int32_t __stdcall LumiskLiveGuiObjects() { return lumisk::GuiCounters::liveTotal(); }
