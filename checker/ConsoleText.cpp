#include "checker/ConsoleText.h"

#include <cstdio>

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>

#include "win32/Cp932.h"
#else
#include <iconv.h>

#include <filesystem>
#endif

namespace lumisk {

#if defined(_WIN32)

std::vector<std::string> commandLineArguments(int, char**) {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 0; i < count; ++i) args.push_back(toCp932(wide[i]).value_or(std::string()));
  LocalFree(wide);
  return args;
}

void printText(const std::string& cp932) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = toWide(cp932);
    DWORD written = 0;
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    std::fwrite(cp932.data(), 1, cp932.size(), stdout);
  }
}

bool fileExists(const std::string& cp932Path) {
  const DWORD attributes = GetFileAttributesW(toWide(cp932Path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

#else

std::vector<std::string> commandLineArguments(int argc, char** argv) { return {argv, argv + argc}; }

// Terminals here speak UTF-8; the designs' text stays code page 932 until this last step.
void printText(const std::string& cp932) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    std::fwrite(cp932.data(), 1, cp932.size(), stdout);
    return;
  }
  std::string in = cp932;
  std::string out(in.size() * 3 + 16, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      // A byte that is no character is shown as "?" rather than stopping the report.
      ++inPtr;
      --inLeft;
      *outPtr++ = '?';
      --outLeft;
    }
  }
  iconv_close(cd);
  std::fwrite(out.data(), 1, out.size() - outLeft, stdout);
}

// Paths in design files are Windows paths; here only their separators can be translated.
bool fileExists(const std::string& cp932Path) {
  std::string path = cp932Path;
  for (char& c : path)
    if (c == '\\') c = '/';
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

#endif

}  // namespace lumisk
