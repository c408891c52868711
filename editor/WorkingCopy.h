// The design editor's working copy: the rows every command of the window changes, kept in step with the
// list box `DesignList` that shows them (same names, same order). The rows own their records; the
// plug-in's design list is touched only when OK hands it copies of them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "store/Design.h"
#include "win32/controls/ListBox.h"

namespace lumisk {

// The working copy's type; the name DesignList belongs to the list box inside the window.
using DesignRows = DesignList;

class WorkingCopy {
 public:
  // The list box that shows the rows, once the window has created it. Not owned.
  void attach(controls::ListBox list) { list_ = list; }
  controls::ListBox list() const { return list_; }

  const DesignRows& rows() const { return rows_; }
  // A record of the row at `index`, for the value commands; its name stays as the list shows it.
  TDesign& design(int index) { return rows_.design(static_cast<std::size_t>(index)); }
  // Whether a command changed the working copy since it was filled.
  bool modified() const { return modified_; }
  void markModified() { modified_ = true; }

  // Fills rows and list box with copies of `designs`, unmodified. Throws std::runtime_error when the
  // list box cannot hold them all.
  void fill(const DesignRows& designs);
  // Drops the rows (the window is going); the list box is left as it is.
  void clear() { rows_.clear(); }

  // The list box's selection.
  void selectOnly(int index);  // selects `index` alone, with anchor and caret on it
  std::vector<int> selectedRows() const;  // in row order
  int currentRow() const;                 // the caret row, or -1

  // Renames the row at `index`, keeping the scroll position and selecting it alone.
  void rename(int index, const std::string& name);
  // Moves the row at `from` to index `to`, name and record together, and makes it the one selection.
  // False, and nothing changes, when either index is outside the rows or they are the same.
  bool move(int from, int to);
  // Removes the rows at the sorted indexes `rows` and selects the first row left, if any.
  void remove(const std::vector<int>& rows);
  // Runs `add(rows)`, which may only append rows, and shows whatever it appended at the end of the list,
  // unselected. `add`'s result; the modified flag is the caller's to set.
  template <typename Add>
  bool append(Add&& add) {
    const std::size_t before = rows_.count();
    const bool result = std::forward<Add>(add)(rows_);
    for (std::size_t i = before; i < rows_.count(); ++i) addListRow(i);
    return result;
  }

 private:
  void addListRow(std::size_t index);

  DesignRows rows_;
  controls::ListBox list_;
  bool modified_ = false;
};

}  // namespace lumisk
