// The real value dialogs: what the value commands (ValueEdit.h) ask through `ValueDialogs` when a person
// is at the screen. The editor's prompts (EditorPrompts) hold one for the editor's whole life, with one
// `ColourDialogState`, so that custom colours are kept between colour edits; tests script their own.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "editor/value/ColourDialog.h"
#include "editor/value/ValueEdit.h"

namespace lumisk {

// The real dialogs: `TValueForm`, the colour dialog and the picture file dialog, each modal over the
// window that opened it. A test may derive from it to script one of them and keep the others real.
class Win32ValueDialogs : public ValueDialogs {
 public:
  Win32ValueDialogs(HWND owner, HINSTANCE module, HIMAGELIST images, int itemHeight, ColourDialogState& colours)
      : owner_(owner), module_(module), images_(images), itemHeight_(itemHeight), colours_(colours) {}

  std::optional<ValueFormResult> runValueForm(const ValueFormSetup& setup) override;
  std::optional<uint32_t> runColourDialog(uint32_t initial) override;
  // Over the value dialog while it is open, else over the owner.
  std::optional<std::string> runPictureDialog(const std::string& fieldText) override;

 private:
  HWND owner_;
  HINSTANCE module_;
  HIMAGELIST images_;
  int itemHeight_;
  ColourDialogState& colours_;
  HWND valueForm_ = nullptr;
};

}  // namespace lumisk
