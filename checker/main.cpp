// lumisk-check: lists the designs of an INI or .dsg file and what a person sharing it should know.
//
//   lumisk-check FILE [--into PLUGIN-INI]
//
// Exit status: 0 nothing found, 1 something found, 2 the file could not be read or the call was wrong.
#include <cstdio>
#include <string>
#include <vector>

#include "checker/ConsoleText.h"
#include "checker/DesignChecker.h"
#include "store/Cp932Path.h"
#include "store/DesignFile.h"

namespace {

int usage() {
  lumisk::printText("使い方: lumisk-check ファイル [--into プラグインINI]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace lumisk;
  std::vector<std::string> args = commandLineArguments(argc, argv);
  if (args.size() != 2 && args.size() != 4) return usage();
  if (args.size() == 4 && args[2] != "--into") return usage();
  try {
    ConsoleFiles files;
    const ConsoleCollation collation;
    DesignList into;
    if (args.size() == 4) {
      const TMemIniFile target(args[3], files, collation);
      loadDesigns(target, into);
    }
    const TMemIniFile file(args[1], files, collation);
    // The store finds a file's folder by "\" and ":", as the plug-in does. A file named with "/" (every
    // path on Linux) would have its bare wallpaper names looked for in the current folder instead of
    // beside it. A "/" is never the second byte of a double-byte character.
    const std::size_t slash = args[1].rfind('/');
    const std::string beside = slash == std::string::npos ? std::string() : args[1].substr(0, slash + 1);
    auto exists = [&](const std::string& p) {
      const bool bare = folderPartLength(p) == 0 && p.find('/') == std::string::npos;
      return fileExists(bare ? beside + p : p);
    };
    const CheckReport report = checkDesignFile(file, into, exists);
    printText("ファイル " + args[1] + ": デザイン " + std::to_string(report.designNames.size()) + " 件\n");
    for (const std::string& name : report.designNames) printText("  \"" + name + "\"\n");
    for (const Finding& f : report.findings) {
      printText("[" + f.section + "]");
      if (!f.design.empty()) printText(" \"" + f.design + "\"");
      printText(": " + f.text + "\n");
    }
    printText(report.findings.empty() ? std::string("問題はありません\n")
                                      : "問題 " + std::to_string(report.findings.size()) + " 件\n");
    return report.findings.empty() ? 0 : 1;
  } catch (const FileError& e) {
    printText(std::string(e.what()) + "\n");
    return 2;
  }
}
