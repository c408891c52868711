// The value list with its header: one row per value of the one selected design, drawn by the window
// (the list is owner-drawn), the header's two columns, and the two value commands, modify and clear,
// which check the selection here and leave the editing to ValueEdit.h with the window's dialogs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "editor/EditFormParts.h"
#include "editor/EditorPrompts.h"
#include "editor/WorkingCopy.h"

namespace lumisk {

class ValueListView {
 public:
  // `parts` (the value list, the header, the fonts and icons, once created), `rows` and `prompts` are the
  // window's and outlive this object.
  ValueListView(const EditFormParts& parts, WorkingCopy& rows, EditorPrompts& prompts);
  ValueListView(const ValueListView&) = delete;
  ValueListView& operator=(const ValueListView&) = delete;

  // One row: its caption, and for a value row of the shown design the value with its icon or swatch.
  void ValListDrawItem(const DRAWITEMSTRUCT& item) const;
  void mnModifyClick();
  void mnClearClick();
  // The header's notifications: a section dragged below its width at design springs back to it.
  LRESULT HeaderNotify(const NMHDR& header);
  void HeaderSectionResize() const;

  // The design whose values the list shows: the one selected design, or -1.
  int shownDesign() const;
  // Draws every row anew: the shown design, a value or a column width changed.
  void repaint() const;

 private:
  const EditFormParts& parts_;
  WorkingCopy& rows_;
  EditorPrompts& prompts_;
};

}  // namespace lumisk
