// The seven exports and DllMain: the only place where the host's calls enter the plug-in.
//
// Each export is a thin shell over PlugFunc. Nothing may fall into the host: every export catches
// everything, shows the message where the person at the screen sees it, and returns a safe result.
#include <windows.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <new>

#include "dll/UnwindTables.h"
#include "editor/EditFormLauncher.h"
#include "plugin/PlugFunc.h"
#include "win32/ExportGuard.h"
#include "win32/ThrowPoint.h"
#include "win32/Win32Collation.h"
#include "win32/Win32FileAccess.h"
#include "win32/Win32Prompts.h"

namespace lumisk {
namespace {

// Captured when the library is loaded; the binding is made then, before the host can call anything.
HMODULE gModule = nullptr;
OQAPI gBinding;

struct PluginState {
  explicit PluginState(HMODULE module) : prompts(module), plug(files, collation, prompts), editor(module) {
    plug.binding() = gBinding;
    plug.setEditorLauncher(&editor);
  }
  Win32FileAccess files;
  Win32Collation collation;
  Win32Prompts prompts;
  PlugFunc plug;
  // Declared last, so destroyed first: a window still open at unload goes while the plug-in it points
  // into still exists, and the window class goes with it.
  EditFormLauncher editor;
};

// Built on the first export call rather than in DllMain, which must do nothing but bind. Released by
// hand in DllMain when the host frees the library, and never at process exit (see DllMain).
PluginState* gState = nullptr;

PluginState& state() {
  if (!gState) gState = new PluginState(gModule);
  return *gState;
}

void showFailure(const char* message) noexcept {
  try {
    state().prompts.showError(message);
  } catch (...) {
    // Nothing more can be told; the host must go on.
  }
}

template <typename F>
int32_t guarded(int32_t failResult, F&& body) noexcept {
  return guardedCall<int32_t>(failResult, std::forward<F>(body), showFailure);
}

}  // namespace
}  // namespace lumisk

using lumisk::guarded;
using lumisk::state;
using lumisk::throwPoint;
using lumisk::TPluginMenuItem;

extern "C" {

int32_t __stdcall OQXGetName(char* buffer, int32_t size) {
  return guarded(0, [&] {
    throwPoint("OQXGetName");
    return state().plug.getName(buffer, size);
  });
}

int32_t __stdcall OQXGetExplanation(char* buffer, int32_t size) {
  return guarded(0, [&] {
    throwPoint("OQXGetExplanation");
    return state().plug.getExplanation(buffer, size);
  });
}

int32_t __stdcall OQXSetInitFile(const char* path) {
  return guarded(0, [&] {
    throwPoint("OQXSetInitFile");
    return state().plug.setInitFile(path);
  });
}

int32_t __stdcall OQXBeginPlugin() {
  return guarded(0, [&] {
    throwPoint("OQXBeginPlugin");
    return state().plug.beginPlugin();
  });
}

int32_t __stdcall OQXEndPlugin() {
  return guarded(-1, [&] {
    throwPoint("OQXEndPlugin");
    return state().plug.endPlugin();
  });
}

int32_t __stdcall OQXGetMenu(int32_t item, TPluginMenuItem* record) {
  return guarded(0, [&] {
    throwPoint("OQXGetMenu");
    return state().plug.getMenu(item, record);
  });
}

int32_t __stdcall OQXMenuClick(int32_t item, int32_t value) {
  return guarded(0, [&] {
    throwPoint("OQXMenuClick");
    return state().plug.menuClick(item, value);
  });
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH) {
    // FreeLibrary (no reserved argument): an editor window still open is destroyed and its class
    // unregistered, so that nothing of the plug-in outlives its code. At process exit (reserved set) the
    // other threads are gone and the loader lock is held: nothing is touched, no window, no class, no
    // destructor; the system takes it all back.
    if (!reserved) {
      delete lumisk::gState;
      lumisk::gState = nullptr;
      lumisk::deregisterOwnUnwindTables();
    }
    return TRUE;
  }
  if (reason == DLL_PROCESS_ATTACH) {
    // Before anything can throw: a plug-in whose exceptions cannot be caught would end the launcher at
    // its first error, so it refuses to load instead.
    if (!lumisk::registerOwnUnwindTables()) return FALSE;
    lumisk::gModule = instance;
    HMODULE host = GetModuleHandleA(nullptr);
    // A handle below 32 is no module: bind nothing, and the host is not supported.
    const bool found = reinterpret_cast<uintptr_t>(host) >= 32;
    try {
      throwPoint("DllMain");
      lumisk::gBinding.bind(found, [host](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(host, name));
      });
    } catch (...) {
      // Nothing may leave DllMain: the load fails instead, and the host is told by LoadLibrary.
      return FALSE;
    }
  }
  return TRUE;
}

}  // extern "C"
