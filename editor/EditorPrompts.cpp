#include "editor/EditorPrompts.h"

#include <stdexcept>
#include <utility>

#include "editor/value/ValueEditing.h"
#include "win32/controls/ListBox.h"

namespace lumisk {
namespace {

constexpr const char* kPathNotCp932 =
    "指定されたファイルのパスには、シフトJIS(コードページ932)で表せない文字が含まれているため、"
    "書き込めません。";

// The value commands' dialogs over the window as it is now: the value list's row height is set at the
// first show, after the owner was.
Win32ValueDialogs valueDialogs(const EditorDialogOwner& owner, HINSTANCE module, ColourDialogState& colours) {
  return Win32ValueDialogs(owner.window, module, owner.images, controls::ListBox(owner.valueList).itemHeight(),
                           colours);
}

}  // namespace

std::optional<std::string> Win32EditorPrompts::chooseExportFile(const FileDialogRequest& request) {
  FileDialogAnswer answer = showSaveFileDialog(owner_.window, request);
  // A file the plug-in could only write under a damaged name is refused, never written elsewhere.
  if (answer.pathNotCp932) throw std::runtime_error(kPathNotCp932);
  if (answer.failure != 0) throw std::runtime_error("ファイルダイアログを表示できません。");
  return std::move(answer.path);
}

std::optional<ValueFormResult> Win32EditorPrompts::runValueForm(const ValueFormSetup& setup) {
  return valueDialogs(owner_, module_, colours_).runValueForm(setup);
}

std::optional<uint32_t> Win32EditorPrompts::runColourDialog(uint32_t initial) {
  return valueDialogs(owner_, module_, colours_).runColourDialog(initial);
}

std::optional<std::string> Win32EditorPrompts::runPictureDialog(const std::string& fieldText) {
  return valueDialogs(owner_, module_, colours_).runPictureDialog(fieldText);
}

}  // namespace lumisk
