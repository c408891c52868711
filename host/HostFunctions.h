// What the host executable's exported functions do. The exports (HostExports.cpp) are plain C entry points
// that the plug-in finds by name in the main module; they forward to the one HostFunctions object that
// the running host installs, and answer "failure" while none is installed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace lumisk::host {

class HostFunctions {
 public:
  virtual ~HostFunctions() = default;

  virtual int32_t padCount() = 0;
  // The pad that a plug-in menu click came from: `value` is what the host passed with the click.
  // 0 when the value names no pad.
  virtual int32_t padId(int32_t value) = 0;
  // Pads in order: 0 gives the first, the last gives 0.
  virtual int32_t nextPadId(int32_t pad) = 0;
  virtual HWND padWindow(int32_t pad) = 0;
  // Writes the pad's value for `key` with its NUL into `buffer` (never more than `size` bytes); nonzero
  // on success, 0 for an unknown pad or key or a buffer too small.
  virtual int32_t getPadInit(int32_t pad, const char* key, char* buffer, int32_t size) = 0;
  // Sets the pad's value for `key`; nonzero when the pad took it, 0 when it refused.
  virtual int32_t setPadInit(int32_t pad, const char* key, const char* value) = 0;
  // Rebuilds the plug-in menu by asking the plug-in for it again.
  virtual int32_t changePluginMenus(const char* pluginName) = 0;
  // The plug-in called one of the functions that give a fixed answer here (groups, buttons, icons).
  virtual void otherCall(std::string_view function) = 0;
};

// Installs the object the exports forward to (nullptr: none). Not owned.
void setHostFunctions(HostFunctions* functions);

}  // namespace lumisk::host
