// What the checker needs of the platform it runs on: files, collation, console text in code page 932.
#pragma once

#include <string>
#include <vector>

#include "store/Platform.h"

#if defined(_WIN32)
#include "win32/Win32Collation.h"
#include "win32/Win32FileAccess.h"
#else
#include "store/StdFileAccess.h"
#endif

namespace lumisk {

#if defined(_WIN32)
using ConsoleFiles = Win32FileAccess;
using ConsoleCollation = Win32Collation;
#else
using ConsoleFiles = StdFileAccess;
using ConsoleCollation = AsciiCollation;
#endif

// The arguments as code page 932 text (on Windows taken from the wide command line).
std::vector<std::string> commandLineArguments(int argc, char** argv);
// Writes code page 932 text so that the terminal shows it right.
void printText(const std::string& cp932);
bool fileExists(const std::string& cp932Path);

}  // namespace lumisk
