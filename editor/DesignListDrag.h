// Dragging a design with the mouse to another place in the design list, and the drag scroll: while a
// design is dragged, each movement over the status bar scrolls the list one row down and each one over
// the label above it one row up.
//
// The list box gets a handler in front of its own procedure (a Subclass), which turns a press on a row
// into a drag once DragDetect says the mouse moved far enough with the button held. A drop on another
// row moves the dragged design there, as the up and down commands would. After a failure of its own the
// list is a plain list box for the rest of the window's life.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "editor/EditLayout.h"
#include "editor/WorkingCopy.h"
#include "store/Platform.h"
#include "win32/Subclass.h"

namespace lumisk {

class DesignListDrag {
 public:
  // `rows` is the working copy whose list box is dragged in; `layout` the window's current layout, for
  // the status bar and the label; `prompts` tells a failure; `selectionChanged` refreshes the window
  // after a press selected a row or a drop moved one. All are the window's and outlive this object.
  DesignListDrag(WorkingCopy& rows, const EditLayout& layout, Prompts& prompts,
                 std::function<void()> selectionChanged);
  DesignListDrag(const DesignListDrag&) = delete;
  DesignListDrag& operator=(const DesignListDrag&) = delete;

  // Puts the drag handler in front of the list box's procedure; `rows` must hold the list box by now. The
  // handler takes itself out again when the list box is destroyed.
  void attach();
  // Whether a design is being dragged.
  bool dragging() const { return dragging_; }
  // Ends a drag without a drop (Esc, the window going).
  void cancelDrag();

  // Whether a drag from `source` would be accepted at `point` (client coordinates of the design list):
  // a drag from the design list itself with one design selected, over a row.
  bool DesignListDragOver(HWND source, POINT point) const;
  // The drop there: the dragged design takes the index of the row it is dropped on.
  void DesignListDragDrop(HWND source, POINT point);
  // The drag scroll, one row per call: down over the status bar, up over the label. Neither accepts a
  // drop.
  bool StatusBarDragOver();
  bool lbDesignDragOver();

 private:
  // The list box's messages: an answer, or nullopt for the list box's own handling.
  std::optional<LRESULT> onListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  bool onButtonDown(HWND list, POINT client, WPARAM keys);
  void dragMove(POINT screen);
  void dragEnd(POINT screen);
  void dragFailed(HWND list, const char* message);
  int rowAt(POINT client) const;

  WorkingCopy& rows_;
  const EditLayout& layout_;
  Prompts& prompts_;
  std::function<void()> selectionChanged_;
  bool dragging_ = false;
  Subclass subclass_;
};

}  // namespace lumisk
