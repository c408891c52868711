// The host as a person uses it: one window per pad, drawn from the pad's settings; a right click shows the
// plug-in menu; closing the last pad ends the plug-in and the host.
#pragma once

#include <string>

namespace lumisk::host {

// Runs until the last pad is closed; the process exit code. `iniPath` empty: the plug-in's path with the
// extension ".ini". `demo`: drives the windows by itself for screenshots (see DemoDriver.h).
int runInteractive(const std::wstring& pluginPath, const std::wstring& iniPath, bool demo);

}  // namespace lumisk::host
