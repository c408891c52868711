// Throw points: one line at the entry of each place where the host's or the system's calls enter the
// plug-in (the exports, the window and dialog procedures, the hooks). The robustness tests load the test
// build of the plug-in (LUMISK_TEST_BUILD) and name one point in the environment variable
// LUMISK_THROW; that point then throws every time it is reached, which proves that its catch-all holds and
// that a failure there leaves the host running and the plug-in usable. Built without the definition, a
// throw point is an empty inline function and compiles to nothing.
#pragma once

#ifdef LUMISK_TEST_BUILD

#include <windows.h>

#include <stdexcept>
#include <string>

namespace lumisk {

// Throws std::runtime_error when LUMISK_THROW names `point` (ASCII). The variable is read at every reach,
// so a test may arm and disarm points while it runs.
inline void throwPoint(const char* point) {
  wchar_t armed[128] = {};
  const DWORD length = GetEnvironmentVariableW(L"LUMISK_THROW", armed, 128);
  if (length == 0 || length >= 128) return;
  std::size_t i = 0;
  for (; point[i] != '\0' && i < length; ++i)
    if (armed[i] != static_cast<wchar_t>(static_cast<unsigned char>(point[i]))) return;
  if (point[i] != '\0' || i != length) return;
  throw std::runtime_error(std::string("テスト用の例外 (") + point + ")");
}

}  // namespace lumisk

#else

namespace lumisk {

inline void throwPoint(const char*) noexcept {}

}  // namespace lumisk

#endif
