// The host API: 25 functions exported by plain name from the host executable (stdcall; the 32-bit build
// links with --kill-at so that no "@n" decoration remains). The plug-in calls four of them; the others
// give the fixed answers of a host without launch buttons of its own, so that a plug-in probing them
// never faults.
//
// Built twice: the variant with LUMISK_HOST_WITHOUT_GETICON leaves out the last function, to show how a
// plug-in meets a host that lacks part of the API.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <exception>

#include "host/HostFunctions.h"

namespace lumisk::host {
namespace {

HostFunctions* gFunctions = nullptr;

// Nothing may unwind into the plug-in's frames: the plug-in was built by another compiler, as far as the
// host knows.
template <typename Body>
int32_t guarded(Body&& body) noexcept {
  try {
    return gFunctions ? body(*gFunctions) : 0;
  } catch (...) {
    return 0;
  }
}

int32_t other(const char* function) noexcept {
  return guarded([function](HostFunctions& f) {
    f.otherCall(function);
    return 0;
  });
}

}  // namespace

void setHostFunctions(HostFunctions* functions) { gFunctions = functions; }

}  // namespace lumisk::host

using lumisk::host::guarded;
using lumisk::host::HostFunctions;
using lumisk::host::other;

#define HOST_API extern "C" __declspec(dllexport)

HOST_API int32_t __stdcall OQAGetPadCount() {
  return guarded([](HostFunctions& f) { return f.padCount(); });
}

HOST_API int32_t __stdcall OQAGetPadID(int32_t value) {
  return guarded([=](HostFunctions& f) { return f.padId(value); });
}

HOST_API int32_t __stdcall OQAGetNextPadID(int32_t pad) {
  return guarded([=](HostFunctions& f) { return f.nextPadId(pad); });
}

HOST_API HWND __stdcall OQAGetPadWnd(int32_t pad) {
  HWND window = nullptr;
  guarded([&](HostFunctions& f) {
    window = f.padWindow(pad);
    return 0;
  });
  return window;
}

// The host shows no button tabs.
HOST_API HWND __stdcall OQAGetPadTabWnd(int32_t) {
  other("OQAGetPadTabWnd");
  return nullptr;
}

HOST_API int32_t __stdcall OQAGetPadInit(int32_t pad, const char* key, char* buffer, int32_t size) {
  return guarded([=](HostFunctions& f) { return f.getPadInit(pad, key, buffer, size); });
}

HOST_API int32_t __stdcall OQASetPadInit(int32_t pad, const char* key, const char* value) {
  return guarded([=](HostFunctions& f) { return f.setPadInit(pad, key, value); });
}

// No plug-in buttons: nothing to rebuild or redraw, which succeeds.
HOST_API int32_t __stdcall OQAChangePluginButtons(const char*) {
  other("OQAChangePluginButtons");
  return -1;
}

HOST_API int32_t __stdcall OQAChangePluginMenus(const char* pluginName) {
  return guarded([=](HostFunctions& f) { return f.changePluginMenus(pluginName); });
}

HOST_API int32_t __stdcall OQARedrawPluginButtons(const char*) {
  other("OQARedrawPluginButtons");
  return -1;
}

// Every pad has one button group and no buttons; groups and buttons cannot be changed.
HOST_API int32_t __stdcall OQAGetGroupCount(int32_t) {
  other("OQAGetGroupCount");
  return 1;
}

HOST_API int32_t __stdcall OQAGetGroup(int32_t, int32_t group, char* buffer, int32_t size) {
  other("OQAGetGroup");
  constexpr char kGroupName[] = "グループ1";
  if (group != 0 || !buffer || size < static_cast<int32_t>(sizeof kGroupName)) return 0;
  std::memcpy(buffer, kGroupName, sizeof kGroupName);
  return -1;
}

HOST_API int32_t __stdcall OQAInsertGroup(int32_t, int32_t, const char*) { return other("OQAInsertGroup"); }
HOST_API int32_t __stdcall OQARenameGroup(int32_t, int32_t, const char*) { return other("OQARenameGroup"); }
HOST_API int32_t __stdcall OQACopyGroup(int32_t, int32_t) { return other("OQACopyGroup"); }
HOST_API int32_t __stdcall OQADeleteGroup(int32_t, int32_t) { return other("OQADeleteGroup"); }
HOST_API int32_t __stdcall OQAGetButton(int32_t, int32_t, int32_t, char*, int32_t) { return other("OQAGetButton"); }
HOST_API int32_t __stdcall OQAInsertButton(int32_t, int32_t, int32_t, const char*) {
  return other("OQAInsertButton");
}
HOST_API int32_t __stdcall OQAChangeButton(int32_t, int32_t, int32_t, const char*) {
  return other("OQAChangeButton");
}
HOST_API int32_t __stdcall OQADeleteButton(int32_t, int32_t, int32_t) { return other("OQADeleteButton"); }
HOST_API int32_t __stdcall OQACopyButton(int32_t, int32_t, int32_t) { return other("OQACopyButton"); }
HOST_API int32_t __stdcall OQAPasteButton(int32_t, int32_t, int32_t) { return other("OQAPasteButton"); }
HOST_API int32_t __stdcall OQAButtonInClipbord() { return other("OQAButtonInClipbord"); }
HOST_API int32_t __stdcall OQARunButton(int32_t, int32_t, int32_t) { return other("OQARunButton"); }

#ifndef LUMISK_HOST_WITHOUT_GETICON
HOST_API HICON __stdcall OQAGetIcon(const char*, int32_t, int32_t) {
  other("OQAGetIcon");
  return nullptr;
}
#endif
