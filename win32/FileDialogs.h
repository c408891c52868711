// The open-file and save-file dialogs: every file the plug-in asks a person for is asked here, with one
// answer for a path the plug-in cannot use. Texts and paths are code page 932; the W dialogs are used, so
// nothing depends on the system's code page.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <optional>
#include <string>

namespace lumisk {

// What a file dialog is asked to show. Texts are code page 932; `filter` holds description and pattern
// pairs separated by "|" ("デザインファイル(*.dsg)|*.dsg|すべてのファイル(*.*)|*.*"), the first pair
// chosen on opening.
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string defaultExtension;  // added to a name typed without one; none when empty
  std::string initialFolder;     // none when empty
  std::string fileName;          // proposed on opening; none when empty
  DWORD flags = 0;               // OFN_* options; OFN_EXPLORER and OFN_NOCHANGEDIR are always added
  // A child dialog shown beside the standard controls, and a hook procedure that receives `hookData` as
  // the lCustData of the OPENFILENAMEW it is given at WM_INITDIALOG. Neither when null. The template
  // must stay valid while the dialog runs.
  const DLGTEMPLATE* childTemplate = nullptr;
  LPOFNHOOKPROC hook = nullptr;
  LPARAM hookData = 0;
};

// How a file dialog ended. The dialog shows nothing beyond itself and throws nothing of its own: a path
// that code page 932 cannot hold (the core keeps every path in it, so such a path could only be stored
// damaged) and a dialog that failed come back here, and the caller tells the person in its own words.
struct FileDialogAnswer {
  std::optional<std::string> path;  // the chosen file's full path, code page 932
  bool pathNotCp932 = false;        // a file was chosen, but code page 932 cannot hold its path
  DWORD failure = 0;                // CommDlgExtendedError() when the dialog could not be shown or answer

  // Neither a path nor a reason: the person cancelled.
  bool cancelled() const { return !path && !pathNotCp932 && failure == 0; }
};

// The common-dialog calls through which the file dialogs are shown. A test replaces them to play a dialog
// that does what Windows' own does and Wine's does not (leave the current folder where the person
// browsed to); the plug-in uses the defaults, the system's own functions.
struct FileDialogCalls {
  decltype(&::GetOpenFileNameW) getOpenFileName = &::GetOpenFileNameW;
  decltype(&::GetSaveFileNameW) getSaveFileName = &::GetSaveFileNameW;
};

// Both dialogs give the process its current folder back however they end, an exception of the dialog
// call included: the dialog runs in the launcher's process, whose relative paths (its own, the INI path
// as it was handed over, bare wallpaper names) resolve against that folder. OFN_NOCHANGEDIR alone does
// not do it: Windows ignores it for the open dialog.

// GetOpenFileNameW, modal over `owner`.
FileDialogAnswer showOpenFileDialog(HWND owner, const FileDialogRequest& request, const FileDialogCalls& calls = {});
// GetSaveFileNameW, modal over `owner`. OFN_OVERWRITEPROMPT in the flags asks before a file is replaced.
FileDialogAnswer showSaveFileDialog(HWND owner, const FileDialogRequest& request, const FileDialogCalls& calls = {});

}  // namespace lumisk
