#include "editor/DesignListCommands.h"

#include <windows.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "store/Cp932Path.h"
#include "store/DesignFile.h"
#include "store/DesignOps.h"
#include "store/IniFile.h"

namespace lumisk {
namespace {

constexpr const char* kRenamePrompt = "変更後のデザイン名を入力して下さい。";
constexpr const char* kDeleteQuestion = "を削除してもよろしいですか？";
constexpr const char* kExportTitle = "デザイン出力先のファイル指定";
constexpr const char* kExportFilter = "デザインファイル(*.dsg)|*.dsg";
constexpr const char* kExportExtension = "dsg";
// OFN_NOCHANGEDIR: the dialog runs in the host's process and must leave its current folder alone.
constexpr DWORD kExportFlags =
    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;

}  // namespace

DesignListCommands::DesignListCommands(WorkingCopy& rows, EditorContext& context, EditorPrompts& prompts,
                                       std::function<void()> refresh)
    : rows_(rows), context_(context), prompts_(prompts), refresh_(std::move(refresh)) {}

// ---- Rename, up, down ---------------------------------------------------------------------------

void DesignListCommands::mnRenameClick() {
  if (rows_.list().selCount() != 1) return;
  const int index = rows_.currentRow();
  if (index < 0) return;
  std::string name = rows_.rows().name(static_cast<std::size_t>(index));
  // The row's own name is among the names compared against: an unchanged name is a duplicate.
  if (!namePrompt(prompts_, kRenamePrompt, name, rows_.rows())) return;
  rows_.rename(index, name);
  refresh_();
}

void DesignListCommands::MoveDesign(int from, int to) {
  if (rows_.move(from, to)) refresh_();
}

void DesignListCommands::mnUpperClick() {
  if (rows_.list().selCount() != 1) return;
  const int index = rows_.currentRow();
  if (index >= 1) MoveDesign(index, index - 1);
}

void DesignListCommands::mnLowerClick() {
  if (rows_.list().selCount() != 1) return;
  const int index = rows_.currentRow();
  if (index >= 0 && index < static_cast<int>(rows_.rows().count()) - 1) MoveDesign(index, index + 1);
}

// ---- Delete, register, apply --------------------------------------------------------------------

void DesignListCommands::mnDeleteClick() {
  const std::vector<int> selected = rows_.selectedRows();
  if (selected.empty()) return;
  std::string question;
  for (const int row : selected) {
    question += '"';
    question += rows_.rows().name(static_cast<std::size_t>(row));
    question += "\"\r\n";
  }
  question += kDeleteQuestion;
  if (!prompts_.confirm(question)) return;
  rows_.remove(selected);
  refresh_();
}

void DesignListCommands::mnAddClick() {
  const bool added = rows_.append([&](DesignRows& rows) {
    return capture(rows, context_.host, context_.currentPad(), prompts_);
  });
  if (!added) return;
  rows_.selectOnly(rows_.list().count() - 1);
  refresh_();
  rows_.markModified();
}

void DesignListCommands::mnPadClick() {
  if (rows_.list().selCount() != 1) return;
  const int index = rows_.currentRow();
  if (index < 0) return;
  // The result is not shown: a refused value leaves the pad as the host keeps it.
  apply(rows_.rows(), static_cast<std::size_t>(index), context_.host, context_.currentPad());
}

// ---- Import and export --------------------------------------------------------------------------

void DesignListCommands::mnImportClick() {
  bool loaded = false;
  try {
    // New rows come unselected: the selection and the enabled states stay as they were.
    loaded = rows_.append([&](DesignRows& rows) {
      return importDesigns(rows, context_.settings.ImportDir, prompts_, context_.files, context_.collation);
    });
  } catch (const FileError& e) {
    prompts_.showError(e.what());
    return;
  }
  if (loaded) rows_.markModified();
}

void DesignListCommands::mnExportClick() {
  const std::vector<int> selected = rows_.selectedRows();
  if (selected.empty()) return;
  FileDialogRequest request;
  request.title = kExportTitle;
  request.filter = kExportFilter;
  request.defaultExtension = kExportExtension;
  request.initialFolder = context_.settings.ExportDir;
  request.fileName = lastExportFile_;
  request.flags = kExportFlags;
  const auto path = prompts_.chooseExportFile(request);
  if (!path) return;
  lastExportFile_ = *path;
  try {
    TMemIniFile file = TMemIniFile::forRewrite(*path, context_.files, context_.collation);
    int32_t section = 0;
    for (const int row : selected) saveDesignSection(file, ++section, rows_.rows(), static_cast<std::size_t>(row));
    file.updateFile();
  } catch (const FileError& e) {
    prompts_.showError(e.what());
    return;
  }
  context_.settings.ExportDir = std::string(folderPart(*path));
}

}  // namespace lumisk
