#include "editor/WorkingCopy.h"

#include <algorithm>
#include <stdexcept>

#include "win32/Cp932.h"

namespace lumisk {

void WorkingCopy::fill(const DesignRows& designs) {
  rows_ = designs;
  modified_ = false;
  const int count = static_cast<int>(rows_.count());
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < rows_.count(); ++i) bytes += (rows_.name(i).size() + 1) * sizeof(wchar_t);
  list_.setRedraw(false);
  list_.initStorage(count, bytes);
  for (std::size_t i = 0; i < rows_.count(); ++i) addListRow(i);
  list_.setRedraw(true);
  if (list_.count() != count) throw std::runtime_error("デザイン一覧を作成できません。");
}

void WorkingCopy::addListRow(std::size_t index) { list_.addString(toWide(rows_.name(index)).c_str()); }

void WorkingCopy::selectOnly(int index) {
  list_.setSel(false, -1);
  list_.setSel(true, index);
  list_.setAnchorIndex(index);
  list_.setCaretIndex(index);
}

std::vector<int> WorkingCopy::selectedRows() const {
  std::vector<int> rows(static_cast<std::size_t>(std::max(0, list_.selCount())));
  if (rows.empty()) return rows;
  const int n = list_.selItems(rows.data(), static_cast<int>(rows.size()));
  rows.resize(static_cast<std::size_t>(std::max(0, n)));
  std::sort(rows.begin(), rows.end());
  return rows;
}

int WorkingCopy::currentRow() const {
  const int caret = list_.caretIndex();
  return caret >= 0 && static_cast<std::size_t>(caret) < rows_.count() ? caret : -1;
}

void WorkingCopy::rename(int index, const std::string& name) {
  rows_.rename(static_cast<std::size_t>(index), name);
  const int top = list_.topIndex();
  list_.deleteString(index);
  list_.insertString(index, toWide(rows_.name(static_cast<std::size_t>(index))).c_str());
  list_.setTopIndex(top);
  selectOnly(index);
  modified_ = true;
}

bool WorkingCopy::move(int from, int to) {
  const int count = static_cast<int>(rows_.count());
  if (from == to || from < 0 || to < 0 || from >= count || to >= count) return false;
  rows_.move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  const int top = list_.topIndex();
  list_.setRedraw(false);
  list_.deleteString(from);
  list_.insertString(to, toWide(rows_.name(static_cast<std::size_t>(to))).c_str());
  list_.setTopIndex(top);
  selectOnly(to);  // also scrolls the moved row into view
  list_.setRedraw(true);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
  modified_ = true;
  return true;
}

void WorkingCopy::remove(const std::vector<int>& rows) {
  // The kept rows are gathered in one pass: deleting one by one would cost time in the square of the
  // list's length when many rows go.
  DesignRows kept;
  kept.reserve(rows_.count() - rows.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < rows_.count(); ++i) {
    if (next < rows.size() && static_cast<std::size_t>(rows[next]) == i) {
      ++next;
      continue;
    }
    kept.append(rows_.name(i), rows_.design(i));
  }
  rows_ = std::move(kept);
  list_.setRedraw(false);
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) list_.deleteString(*it);
  list_.setRedraw(true);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
  if (list_.count() > 0) selectOnly(0);
  modified_ = true;
}

}  // namespace lumisk
