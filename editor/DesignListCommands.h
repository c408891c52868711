// The commands on the design list: rename, up, down, delete, register the current pad's look, apply a
// design to the pad, import and export. Each works on the working copy, which keeps the list box in step
// with it, and asks a person only through the editor's prompts; whatever changes the rows or their
// selection is followed by the window's refresh. The mouse dragging of a design is DesignListDrag's.
#pragma once

#include <functional>
#include <string>

#include "editor/EditorPrompts.h"
#include "editor/WorkingCopy.h"
#include "plugin/EditorContext.h"

namespace lumisk {

class DesignListCommands {
 public:
  // `rows`, `context` and `prompts` are the window's and outlive this object; `refresh` updates the
  // window after the rows or their selection changed (DesignListClick).
  DesignListCommands(WorkingCopy& rows, EditorContext& context, EditorPrompts& prompts, std::function<void()> refresh);
  DesignListCommands(const DesignListCommands&) = delete;
  DesignListCommands& operator=(const DesignListCommands&) = delete;

  void mnRenameClick();
  void mnUpperClick();
  void mnLowerClick();
  void mnDeleteClick();
  void mnAddClick();
  void mnPadClick();
  void mnImportClick();
  void mnExportClick();

 private:
  // Moves the row at `from` to index `to` and refreshes the window.
  void MoveDesign(int from, int to);

  WorkingCopy& rows_;
  EditorContext& context_;
  EditorPrompts& prompts_;
  std::function<void()> refresh_;
  std::string lastExportFile_;  // offered again by the next export
};

}  // namespace lumisk
