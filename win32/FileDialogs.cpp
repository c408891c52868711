#include "win32/FileDialogs.h"

#include <algorithm>
#include <vector>

#include "win32/Cp932.h"
#include "win32/PromptScope.h"

namespace lumisk {
namespace {

// The longest path Windows knows, with its NUL: the dialog reports FNERR_BUFFERTOOSMALL rather than
// cutting a name.
constexpr std::size_t kPathBufferChars = 32768;

using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

// Holds the process's current folder and sets it again when it goes, whatever the dialog did meanwhile.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return;
    folder_.resize(size);
    const DWORD length = GetCurrentDirectoryW(size, folder_.data());
    folder_.resize(length < size ? length : 0);
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::wstring folder_;  // empty when it could not be read: then nothing is set
};

FileDialogAnswer runFileDialog(FileDialogFunction dialog, HWND owner, const FileDialogRequest& request) {
  // Pairs are separated by NULs and the list ends with two; "|" is replaced only after the conversion,
  // because its byte may be the second byte of a double-byte character.
  std::wstring filter = toWide(request.filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  const std::wstring title = toWide(request.title);
  const std::wstring extension = toWide(request.defaultExtension);
  const std::wstring folder = toWide(request.initialFolder);
  const std::wstring proposed = toWide(request.fileName);

  std::vector<wchar_t> file(std::max(kPathBufferChars, proposed.size() + 1), L'\0');
  std::copy(proposed.begin(), proposed.end(), file.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  // The dialog runs in the host's process: the host's current folder is none of its business. The flag
  // keeps the save dialog from moving it; the open dialog ignores it (CurrentFolderKept below).
  ofn.Flags = request.flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (request.childTemplate) {
    // A template "handle" is read through LockResource, which hands a Win32 pointer back unchanged.
    ofn.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(request.childTemplate));
    ofn.Flags |= OFN_ENABLETEMPLATEHANDLE;
  }
  if (request.hook) {
    ofn.lpfnHook = request.hook;
    ofn.lCustData = request.hookData;
    ofn.Flags |= OFN_ENABLEHOOK;
  }

  FileDialogAnswer answer;
  BOOL chosen = FALSE;
  {
    const PromptScope modal(owner);
    const CurrentFolderKept folderKept;
    chosen = dialog(&ofn);
  }
  if (!chosen) {
    answer.failure = CommDlgExtendedError();
    return answer;
  }
  file.back() = L'\0';
  answer.path = toCp932(file.data());
  answer.pathNotCp932 = !answer.path;
  return answer;
}

}  // namespace

FileDialogAnswer showOpenFileDialog(HWND owner, const FileDialogRequest& request, const FileDialogCalls& calls) {
  return runFileDialog(calls.getOpenFileName, owner, request);
}

FileDialogAnswer showSaveFileDialog(HWND owner, const FileDialogRequest& request, const FileDialogCalls& calls) {
  return runFileDialog(calls.getSaveFileName, owner, request);
}

}  // namespace lumisk
