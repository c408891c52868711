// The four host functions that the plug-in calls, as the binding found them in the host executable.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define LUMISK_STDCALL __stdcall
#else
#define LUMISK_STDCALL
#endif

namespace lumisk {

using OQAGetPadIDFn = int32_t(LUMISK_STDCALL*)(int32_t value);
using OQAGetPadInitFn = int32_t(LUMISK_STDCALL*)(int32_t pad, const char* key, char* buffer, int32_t size);
using OQASetPadInitFn = int32_t(LUMISK_STDCALL*)(int32_t pad, const char* key, const char* value);
using OQAChangePluginMenusFn = int32_t(LUMISK_STDCALL*)(const char* pluginName);

struct HostApi {
  // True only when the host exports all 25 functions; nothing is called otherwise.
  bool supported = false;
  OQAGetPadIDFn getPadID = nullptr;
  OQAGetPadInitFn getPadInit = nullptr;
  OQASetPadInitFn setPadInit = nullptr;
  OQAChangePluginMenusFn changePluginMenus = nullptr;
};

// The buffer size handed to OQAGetPadInit.
inline constexpr int32_t kPadInitBufferSize = 1024;

}  // namespace lumisk
