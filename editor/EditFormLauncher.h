// The editor command's side of the design editor: opens the one editor window, closes it when the
// plug-in ends, and takes the window class away again when the library is unloaded.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "editor/EditForm.h"
#include "editor/EditorPrompts.h"
#include "plugin/EditorContext.h"

namespace lumisk {

// Makes what a new window asks a person with, over the plug-in's own prompts.
using EditorPromptsFactory = std::function<std::unique_ptr<EditorPrompts>(Prompts& plugin)>;

class EditFormLauncher final : public EditorLauncher {
 public:
  // `module` is the module that registers the window class (the plug-in's own). `prompts` makes each new
  // window's EditorPrompts; empty: the real boxes and dialogs (Win32EditorPrompts).
  explicit EditFormLauncher(HINSTANCE module, EditorPromptsFactory prompts = {});
  // Destroys a window still open (without calling the host) and unregisters the window class.
  ~EditFormLauncher() override;
  EditFormLauncher(const EditFormLauncher&) = delete;
  EditFormLauncher& operator=(const EditFormLauncher&) = delete;

  // Creates and shows the window, not waiting for it. With a window already open, brings it forward.
  // Throws std::runtime_error when the window cannot be created.
  void open(const EditorContext& context) override;
  // Destroys an open window, no commit, no question: at once, or while a prompt is open once the last
  // prompt has closed (TEditForm::release).
  void close() override;

  // The open window, or nullptr.
  TEditForm* form() const { return form_.get(); }

 private:
  HINSTANCE module_;
  EditorPromptsFactory prompts_;
  std::unique_ptr<TEditForm> form_;
  bool registered_ = false;
};

}  // namespace lumisk
