// The two value commands as the editor window calls them, with the real dialogs.
//
// For the editor window (`mnModifyClick`, `mnClearClick`), after its own checks (exactly one design
// selected; for modify exactly one value list row selected and a value row at the caret; for clear at
// least one row selected):
//
//     ValueEditContext ctx{hwnd, module, Images, rowHeight, currentDesign, prompts, colourState};
//     if (modifyValue(ctx, caretRow)) { repaint ValList; set the modified flag; }
//     if (clearValues(ctx, selectedRows)) { repaint ValList; set the modified flag; }
//
// The editor owns one `ColourDialogState` for its whole life, so that custom colours are kept between
// colour edits. Tests of the editor set `dialogs` to a `ScriptedValueDialogs` (tests/support)
// and `prompts` to scripted prompts: no modal window then opens.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "editor/value/ColourDialog.h"
#include "editor/value/ValueEdit.h"
#include "store/Design.h"
#include "store/Platform.h"

namespace lumisk {

struct ValueEditContext {
  HWND owner;              // the editor window: owner of the dialogs, disabled while one is open
  HINSTANCE module;        // the plug-in's own module
  HIMAGELIST images;       // the editor's option icons (14 x 14), not owned
  int itemHeight;          // the value list's row height, for the options of the value dialog
  TDesign& design;         // the current design of the working copy: the one that changes
  Prompts& prompts;        // the clear command's question
  ColourDialogState& colours;
  ValueDialogs* dialogs = nullptr;  // null: the Win32 dialogs below, over `owner`
};

// The modify command on value list row `row` (0..30) of the current design. True when the caller must
// repaint the value list and set the modified flag (after OK, and after the colour dialog either way).
// Throws std::runtime_error when a dialog cannot be shown; the design is then unchanged.
bool modifyValue(ValueEditContext& ctx, int row);

// The clear command for the selected rows of the value list. True when the caller must repaint the
// value list and set the modified flag (values were reset after the person confirmed).
bool clearValues(ValueEditContext& ctx, const std::array<bool, kRowCount>& selectedRows);

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
