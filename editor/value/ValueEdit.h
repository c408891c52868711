// The two value commands of the design editor, modify and clear, without any window: what the value
// dialog is given, what its answer stores, and what the clear command asks and resets. The dialogs are
// reached through `ValueDialogs`; the Win32 ones live in ValueEditing.h, tests script their own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ValueTables.h"
#include "store/Design.h"
#include "store/Platform.h"

namespace lumisk {

// Selection state of the 31 value list rows, by row.
using RowSelection = std::array<bool, kRowCount>;

// ---- The value dialog's three forms -------------------------------------------------------------

enum class ValueFormMode {
  List,    // enumeration or size list: a drop-down list of option texts, no typing
  Number,  // an editable field with spin buttons, digits and backspace only
  Path,    // an editable field with the file picker and the clear button
};

// Everything the value dialog shows; the caller fills it, the dialog never looks at a design.
struct ValueFormSetup {
  ValueFormMode mode = ValueFormMode::List;
  std::string item;                  // the row's caption without blanks ("幅")
  std::vector<std::string> options;  // list mode: option texts, icon digit first (" 8" for sizes)
  int selected = -1;                 // list mode: option selected on opening, -1 for none
  int minimum = 0;                   // number mode: spin range and starting position
  int maximum = 0;
  int start = 0;
  std::string text;                  // path mode: the field's text on opening
};

// What the value dialog holds when it is closed with OK.
struct ValueFormResult {
  int selected = -1;   // list mode: the selected option, -1 for none
  std::string text;    // number and path mode: the field's text
  int position = 0;    // number mode: the spin control's position (its last valid value)
};

// The modal dialogs of the value commands. Each call blocks until the dialog is closed.
class ValueDialogs {
 public:
  virtual ~ValueDialogs() = default;
  // The value dialog; std::nullopt when it was closed other than with OK.
  virtual std::optional<ValueFormResult> runValueForm(const ValueFormSetup& setup) = 0;
  // The colour dialog starting at `initial` (0x00BBGGRR); the chosen colour, std::nullopt on cancel.
  virtual std::optional<uint32_t> runColourDialog(uint32_t initial) = 0;
  // The picture file dialog behind "選択...", opened on the field's text; the full path chosen, or
  // std::nullopt on cancel. Called by the value dialog while it is open.
  virtual std::optional<std::string> runPictureDialog(const std::string& fieldText) = 0;
};

// ---- List mode ----------------------------------------------------------------------------------

// The option texts of an enumeration or size-list key, in list order.
std::vector<std::string> listOptions(const KeyType& type);
// The option shown selected for value `v`; -1 when `v` names none of the key's options.
int listSelection(const KeyType& type, int32_t v);
// The value that the option `selected` stands for; -1 (unset) for no selection.
int32_t listStoredValue(const KeyType& type, int selected);

// ---- Number mode --------------------------------------------------------------------------------

// Where the spin control starts for `v`: `v` held within the key's range.
int numberStart(const KeyType& type, int32_t v);
// The value stored on OK: the typed number when the field holds a plain decimal number within the
// range, otherwise the spin control's last valid position. An emptied field counts as 0 where 0 lies in
// the range, as the spin buttons themselves read it (an empty field stepped up gives 1); elsewhere it
// keeps the last valid position, like any other text that is not a number of the range.
int32_t numberStoredValue(const KeyType& type, std::string_view fieldText, int position);

// ---- Colour -------------------------------------------------------------------------------------

// The colour the colour dialog starts at for `v`: its low three bytes, so the unset -1 starts at white
// and a value with flag bits in its top byte starts at the colour its low bytes spell.
uint32_t colourDialogStart(int32_t v);

// ---- The commands -------------------------------------------------------------------------------

// The modify command on `row` of `design`: runs the dialog that suits the row's value type and stores
// its answer. True when the caller must repaint the value list and set its modified flag: after OK in
// the value dialog, and after the colour dialog whichever way it was closed. A heading row does nothing.
bool modifyValue(TDesign& design, int row, ValueDialogs& dialogs);

// What the clear command would reset: the value rows in list order, and the question that asks first.
struct ClearPlan {
  std::vector<int> rows;
  std::string question;
};

// True when the value of value row `row` is set (integer not -1; WallPaper not exactly "-").
bool isValueSet(const TDesign& design, int row);
// The rows to clear for the selected rows; std::nullopt when no set value is selected.
std::optional<ClearPlan> planClear(const TDesign& design, const RowSelection& selected);
// Resets the planned rows to their unset values.
void applyClear(TDesign& design, const ClearPlan& plan);
// The clear command: plans, asks `prompts.confirm`, applies on OK. True when something was reset and
// the caller must repaint the value list and set its modified flag.
bool clearValues(TDesign& design, const RowSelection& selected, Prompts& prompts);

}  // namespace lumisk
