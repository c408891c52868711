// save-loop PATH EVENT: saves design set A, then set B, then A again... to PATH through the plug-in's file
// layer until it is killed. It signals the named event EVENT once both sets are ready, just before its
// first save, so that whoever kills it knows from when on every moment is a moment of saving.
#include <windows.h>

#include <cstdio>
#include <exception>

#include "tests/robustness/DesignSets.h"
#include "win32/Cp932.h"
#include "win32/Win32FileAccess.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: save-loop PATH EVENT\n", stderr);
    return 2;
  }
  try {
    const auto path = lumisk::toCp932(argv[1]);
    if (!path) return 2;
    const std::string sets[] = {lumisk::testing::designSetBytes('A'), lumisk::testing::designSetBytes('B')};
    lumisk::Win32FileAccess files;
    const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready) return 2;
    SetEvent(ready);
    CloseHandle(ready);
    for (unsigned round = 0;; ++round) files.replaceAll(*path, sets[round % 2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "save-loop: %s\n", e.what());
    return 1;
  }
}
