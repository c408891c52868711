// Prompts as Windows shows them: message boxes, the design-name input box and the open-file dialog for
// design files. Every box is modal and returns when the person has answered it.
#pragma once

#include <windows.h>

#include "store/Platform.h"

namespace lumisk {

class Win32Prompts final : public Prompts {
 public:
  // `module` is the plug-in's own module, the instance under which its dialogs are created.
  explicit Win32Prompts(HINSTANCE module) : module_(module) {}

  // The window that owns every box from now on; none (the default, or a window since destroyed) means
  // the thread's active window, so the box is modal to whatever window the person was using.
  void setOwner(HWND owner) { owner_ = owner; }

  // Caption "Lumisk", no icon, one OK button.
  void inform(const std::string& text) override;
  // Caption "確認", question icon, the buttons "OK" and "キャンセル" whatever the language of Windows.
  // True only for OK; Esc and the close box answer キャンセル.
  bool confirm(const std::string& text) override;
  // The input box "デザイン名の指定", centred on the primary display: `prompt` above an edit field that holds
  // `suggestion`, all of it selected, and takes at most 255 characters; a prompt too long for its line
  // wraps and the box grows. The text as typed for OK; std::nullopt for キャンセル, Esc or the close box,
  // and when the text has a character that code page 932 cannot hold (the person is told so). Throws
  // std::runtime_error when the box cannot be shown.
  std::optional<std::string> askName(const std::string& prompt, const std::string& suggestion) override;
  // The open-file dialog "デザインファイルの指定" for *.dsg files, opening in `initialFolder` (none
  // when empty). The chosen file's full path; std::nullopt on cancel, and when the path cannot be
  // written in code page 932 (the person is told so). Throws std::runtime_error when the dialog fails.
  std::optional<std::string> chooseDesignFile(const std::string& initialFolder) override;
  // Caption "Lumisk", error icon, one OK button.
  void showError(const std::string& text) override;
  // Any PromptScope of the thread: these boxes, the file dialogs, the editor's dialogs.
  bool showing() const override;

  // Control ids of the input box.
  static constexpr int kNamePromptId = 100;
  static constexpr int kNameEditId = 101;
  static constexpr int kNameMaxChars = 255;

 private:
  HWND owner() const;

  HINSTANCE module_;
  HWND owner_ = nullptr;
};

}  // namespace lumisk
