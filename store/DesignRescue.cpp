#include "store/DesignRescue.h"

#include "store/Cp932Path.h"
#include "store/DesignFile.h"
#include "store/IniFile.h"

namespace lumisk {
namespace {

std::string rescuePath(std::string_view folder, int number) {
  std::string path(folder);
  path += kRescueStem;
  if (number > 1) path += std::to_string(number);
  path += ".dsg";
  return path;
}

bool exists(const std::string& path, FileAccess& files) {
  try {
    return files.readAll(path).has_value();
  } catch (const FileError&) {
    return true;
  }
}

// The rescue file written into `folder` under the first free name; std::nullopt when the folder refuses
// it (another name there would fare no better) or every name is taken.
std::optional<std::string> writeInto(std::string_view folder, const DesignList& list, FileAccess& files,
                                     const Collation& collation) {
  for (int number = 1; number <= kRescueNames; ++number) {
    std::string path = rescuePath(folder, number);
    if (exists(path, files)) continue;
    try {
      TMemIniFile file = TMemIniFile::forRewrite(path, files, collation);
      for (std::size_t i = 0; i < list.count(); ++i) saveDesignSection(file, static_cast<int32_t>(i + 1), list, i);
      file.updateFile();
      return path;
    } catch (const FileError&) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> writeRescueFile(const DesignList& list, std::string_view iniPath, FileAccess& files,
                                           const Collation& collation) {
  const std::optional<std::string_view> iniFolder =
      iniPath.empty() ? std::nullopt : std::optional(folderPart(iniPath));
  if (iniFolder)
    if (auto path = writeInto(*iniFolder, list, files, collation)) return path;
  const std::optional<std::string> temp = files.tempFolder();
  if (!temp || temp == iniFolder) return std::nullopt;
  return writeInto(*temp, list, files, collation);
}

void rescueDesigns(const DesignList& list, std::string_view iniPath, FileAccess& files, const Collation& collation,
                   Prompts& prompts) {
  if (list.empty()) return;
  if (const auto path = writeRescueFile(list, iniPath, files, collation)) {
    prompts.inform("保存できなかったデザインをファイル " + *path +
                   " に書き出しました。\r\nデザインのインポートでこのファイルを読み込むと、デザインが元に戻ります。");
  } else {
    prompts.showError("保存できなかったデザインを書き出すファイルも作成できません。今回の変更は失われました。");
  }
}

}  // namespace lumisk
