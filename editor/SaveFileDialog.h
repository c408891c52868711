// The export's file dialog behind a small interface, so that tests can answer it without a modal window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace lumisk {

// What the save dialog is asked to show. Texts are code page 932; `filter` holds description and
// pattern pairs separated by "|" ("デザインファイル(*.dsg)|*.dsg").
struct SaveFileRequest {
  std::string title;
  std::string filter;
  std::string defaultExtension;  // added to a name typed without one
  std::string initialFolder;
  std::string fileName;          // proposed on opening; the last one chosen while the editor lives
  DWORD flags = 0;               // OFN_* options
};

class SaveFileDialog {
 public:
  virtual ~SaveFileDialog() = default;
  // Runs the dialog modally over `owner`. The full path chosen, or std::nullopt when cancelled.
  virtual std::optional<std::string> run(HWND owner, const SaveFileRequest& request) = 0;
};

// GetSaveFileNameW. Throws std::runtime_error with a message for the person when the dialog cannot be
// shown at all (not a cancel), and when the chosen path has a character code page 932 cannot hold.
class Win32SaveFileDialog final : public SaveFileDialog {
 public:
  std::optional<std::string> run(HWND owner, const SaveFileRequest& request) override;
};

}  // namespace lumisk
