// Everything the design editor asks of a person, behind one interface: the plug-in's prompts (message
// boxes, confirmations, the name box, the import's file dialog), the export's save dialog and the
// dialogs of the value commands. The window is handed one and asks nothing any other way; the plug-in's
// is Win32EditorPrompts, tests pass scripted ones so that no modal window opens.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>

#include "editor/value/ColourDialog.h"
#include "editor/value/ValueEdit.h"
#include "store/Platform.h"
#include "win32/FileDialogs.h"

namespace lumisk {

// The editor window as the owner of its dialogs.
struct EditorDialogOwner {
  HWND window = nullptr;       // owner of every dialog, disabled while one is open
  HWND valueList = nullptr;    // its row height is the height of the value dialog's options
  HIMAGELIST images = nullptr; // the option icons (14 x 14), not owned
};

class EditorPrompts : public Prompts, public ValueDialogs {
 public:
  // The window that owns the dialogs from now on, once it has its controls; called before any dialog.
  virtual void setOwner(const EditorDialogOwner& owner) = 0;
  // The export's save dialog. The full path chosen, std::nullopt when the person cancelled. Throws
  // std::runtime_error with a message for the person when the dialog cannot be shown, and when the
  // chosen path has a character that code page 932 cannot hold.
  virtual std::optional<std::string> chooseExportFile(const FileDialogRequest& request) = 0;
};

// The real boxes and dialogs: the plug-in's own prompts for what the plug-in asks too, the file dialog
// module for the export, and the value dialog, colour dialog and picture dialog over the owner.
class Win32EditorPrompts final : public EditorPrompts {
 public:
  // `plugin`: the plug-in's prompts, which outlive this object. `module`: the plug-in's own module.
  Win32EditorPrompts(Prompts& plugin, HINSTANCE module) : plugin_(plugin), module_(module) {}

  void inform(const std::string& text) override { plugin_.inform(text); }
  bool confirm(const std::string& text) override { return plugin_.confirm(text); }
  std::optional<std::string> askName(const std::string& prompt, const std::string& suggestion) override {
    return plugin_.askName(prompt, suggestion);
  }
  std::optional<std::string> chooseDesignFile(const std::string& initialFolder) override {
    return plugin_.chooseDesignFile(initialFolder);
  }
  void showError(const std::string& text) override { plugin_.showError(text); }
  bool showing() const override { return plugin_.showing(); }

  void setOwner(const EditorDialogOwner& owner) override { owner_ = owner; }
  std::optional<std::string> chooseExportFile(const FileDialogRequest& request) override;

  std::optional<ValueFormResult> runValueForm(const ValueFormSetup& setup) override;
  std::optional<uint32_t> runColourDialog(uint32_t initial) override;
  std::optional<std::string> runPictureDialog(const std::string& fieldText) override;

 private:
  Prompts& plugin_;
  HINSTANCE module_;
  EditorDialogOwner owner_;
  // The custom colours a person defines are offered again at every later colour edit of the window.
  ColourDialogState colours_;
};

}  // namespace lumisk
