// The host as a person uses it: one window per pad, drawn from the pad's settings; a right click shows the
// plug-in menu; closing the last pad ends the plug-in and the host.
#pragma once

#include <string>

namespace lumisk::host {

// Runs until the last pad is closed; the process exit code. `iniPath` empty: the plug-in's path with the
// extension ".ini". `demo`: drives the windows by itself for screenshots (see DemoDriver.h).
// `hostIniPath` is the host's own INI file (see PadStore.h), empty for "orbiqa-sim.ini" in the current
// folder: the pads start as it says and it is replaced, atomically, with how they look when the host
// ends. A missing or garbled file means the pads' own start values; a file that exists but cannot be
// read is left alone.
int runInteractive(const std::wstring& pluginPath, const std::wstring& iniPath, const std::wstring& hostIniPath,
                   bool demo);

}  // namespace lumisk::host
