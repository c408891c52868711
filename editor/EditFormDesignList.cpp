// TEditForm: the commands on the design list — refresh, rename, up, down, drag and drop with its drag
// scroll, delete, register, apply, import and export. Each works on the working copy `rows_` and keeps
// the list box in step with it.
#include <windows.h>
#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "editor/EditForm.h"
#include "plugin/PlugFunc.h"
#include "store/Cp932Path.h"
#include "store/DesignFile.h"
#include "store/DesignOps.h"
#include "store/IniFile.h"
#include "win32/Cp932.h"
#include "win32/ExportGuard.h"
#include "win32/ThrowPoint.h"

namespace lumisk {
namespace {

constexpr const char* kRenamePrompt = "変更後のデザイン名を入力して下さい。";
constexpr const char* kDeleteQuestion = "を削除してもよろしいですか？";
constexpr const char* kExportTitle = "デザイン出力先のファイル指定";
constexpr const char* kExportFilter = "デザインファイル(*.dsg)|*.dsg";
constexpr const char* kExportExtension = "dsg";
// OFN_NOCHANGEDIR: the dialog runs in the host's process and must leave its current folder alone.
constexpr DWORD kExportFlags =
    OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;

}  // namespace

// ---- Working copy and list box together ---------------------------------------------------------

void TEditForm::selectOnly(int index) {
  DesignList.setSel(false, -1);
  DesignList.setSel(true, index);
  DesignList.setAnchorIndex(index);
  DesignList.setCaretIndex(index);
}

void TEditForm::appendListRows(std::size_t from) {
  for (std::size_t i = from; i < rows_.count(); ++i) DesignList.addString(toWide(rows_.name(i)).c_str());
}

void TEditForm::replaceListRow(int index) {
  DesignList.deleteString(index);
  DesignList.insertString(index, toWide(rows_.name(static_cast<std::size_t>(index))).c_str());
}

std::vector<int> TEditForm::selectedRows() const {
  std::vector<int> rows(static_cast<std::size_t>(std::max(0, DesignList.selCount())));
  if (rows.empty()) return rows;
  const int n = DesignList.selItems(rows.data(), static_cast<int>(rows.size()));
  rows.resize(static_cast<std::size_t>(std::max(0, n)));
  std::sort(rows.begin(), rows.end());
  return rows;
}

int TEditForm::currentRow() const {
  const int caret = DesignList.caretIndex();
  return caret >= 0 && static_cast<std::size_t>(caret) < rows_.count() ? caret : -1;
}

// ---- Refresh, rename, up, down ------------------------------------------------------------------

void TEditForm::DesignListClick() {
  const int n = DesignList.selCount();
  for (const MenuSpec& menuEntry : editMenuBar()) {
    for (const MenuItemSpec& item : menuEntry.items) {
      if (item.rule == EnableRule::AnyDesign) menu_.enable(item.command, n >= 1);
      if (item.rule == EnableRule::OneDesign) menu_.enable(item.command, n == 1);
    }
  }
  InvalidateRect(ValList.hwnd(), nullptr, TRUE);
  ValListClick();
}

void TEditForm::mnRenameClick() {
  if (DesignList.selCount() != 1) return;
  const int index = currentRow();
  if (index < 0) return;
  std::string name = rows_.name(static_cast<std::size_t>(index));
  // The row's own name is among the names compared against: an unchanged name is a duplicate.
  if (!namePrompt(plug_.prompts(), kRenamePrompt, name, rows_)) return;
  rows_.rename(static_cast<std::size_t>(index), name);
  const int top = DesignList.topIndex();
  replaceListRow(index);
  DesignList.setTopIndex(top);
  selectOnly(index);
  DesignListClick();
  modified_ = true;
}

void TEditForm::MoveDesign(int from, int to) {
  const int count = static_cast<int>(rows_.count());
  if (from == to || from < 0 || to < 0 || from >= count || to >= count) return;
  rows_.move(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  const int top = DesignList.topIndex();
  DesignList.setRedraw(false);
  DesignList.deleteString(from);
  DesignList.insertString(to, toWide(rows_.name(static_cast<std::size_t>(to))).c_str());
  DesignList.setTopIndex(top);
  selectOnly(to);  // also scrolls the moved row into view
  DesignList.setRedraw(true);
  InvalidateRect(DesignList.hwnd(), nullptr, TRUE);
  DesignListClick();
  modified_ = true;
}

void TEditForm::mnUpperClick() {
  if (DesignList.selCount() != 1) return;
  const int index = currentRow();
  if (index >= 1) MoveDesign(index, index - 1);
}

void TEditForm::mnLowerClick() {
  if (DesignList.selCount() != 1) return;
  const int index = currentRow();
  if (index >= 0 && index < static_cast<int>(rows_.count()) - 1) MoveDesign(index, index + 1);
}

// ---- Drag and drop ------------------------------------------------------------------------------

int TEditForm::rowAt(POINT client) const {
  RECT area{};
  GetClientRect(DesignList.hwnd(), &area);
  if (!PtInRect(&area, client)) return -1;
  const int height = DesignList.itemHeight();
  if (height <= 0) return -1;
  // Computed rather than asked with LB_ITEMFROMPOINT, whose answer holds 16 bits of row index.
  const int index = DesignList.topIndex() + client.y / height;
  if (index < 0 || index >= DesignList.count()) return -1;
  RECT item{};
  if (!DesignList.itemRect(index, item) || !PtInRect(&item, client)) return -1;
  return index;
}

bool TEditForm::DesignListDragOver(HWND source, POINT point) {
  return source == DesignList.hwnd() && DesignList.selCount() == 1 && rowAt(point) >= 0;
}

void TEditForm::DesignListDragDrop(HWND source, POINT point) {
  if (source != DesignList.hwnd() || DesignList.selCount() != 1) return;
  const int target = rowAt(point);
  const int current = currentRow();
  if (target < 0 || current < 0) return;
  MoveDesign(current, target);
}

bool TEditForm::StatusBarDragOver() {
  const int top = DesignList.topIndex();
  if (top < DesignList.count() - 1) DesignList.setTopIndex(top + 1);
  return false;
}

bool TEditForm::lbDesignDragOver() {
  const int top = DesignList.topIndex();
  if (top > 0) DesignList.setTopIndex(top - 1);
  return false;
}

LRESULT CALLBACK TEditForm::designListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<TEditForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || !form->listBoxProc_) return DefWindowProcW(hwnd, message, wParam, lParam);
  const WNDPROC listBox = form->listBoxProc_;
  if (message == WM_NCDESTROY) {
    // The list box goes before the window: from here on it is served by its class alone.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBox));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return CallWindowProcW(listBox, hwnd, message, wParam, lParam);
  }
  // After a failure of its own the list is a plain list box for the rest of the window's life: a failure
  // that repeats on every message is told once, and the list box still gets every message.
  if (form->designListFailed_) return CallWindowProcW(listBox, hwnd, message, wParam, lParam);
  try {
    throwPoint("TEditForm.designListProc");
    bool handled = false;
    const LRESULT result = form->dispatchDesignList(hwnd, message, wParam, lParam, handled);
    if (handled) return result;
  } catch (const std::exception& e) {
    form->designListFailed_ = true;
    form->dragFailed(hwnd, e.what());
  } catch (...) {
    form->designListFailed_ = true;
    form->dragFailed(hwnd, kUnexpectedText);
  }
  return CallWindowProcW(listBox, hwnd, message, wParam, lParam);
}

LRESULT TEditForm::dispatchDesignList(HWND list, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      handled = onDesignListButtonDown(list, client, wParam);
      return 0;
    case WM_MOUSEMOVE:
      if (!dragging_) return 0;
      {
        POINT screen = client;
        ClientToScreen(list, &screen);
        dragMove(screen);
      }
      handled = true;
      return 0;
    case WM_LBUTTONUP:
      if (!dragging_) return 0;
      {
        POINT screen = client;
        ClientToScreen(list, &screen);
        dragEnd(screen);
      }
      handled = true;
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lParam) != list) dragging_ = false;
      return 0;
    case WM_KEYDOWN:
      if (dragging_ && wParam == VK_ESCAPE) {
        cancelDrag();
        handled = true;
      }
      return 0;
    default:
      return 0;
  }
}

bool TEditForm::onDesignListButtonDown(HWND list, POINT client, WPARAM keys) {
  // Shift and Ctrl clicks extend the selection as usual and never start a drag.
  if (keys & (MK_SHIFT | MK_CONTROL)) return false;
  const int row = rowAt(client);
  if (row < 0) return false;
  SetFocus(list);
  // A press on an unselected row selects it alone at once; a press on a selected row keeps the
  // selection, so that dragging one of several selected designs is refused.
  const bool wasSelected = DesignList.selected(row);
  if (!wasSelected) {
    selectOnly(row);
    DesignListClick();
  }
  POINT screen = client;
  ClientToScreen(list, &screen);
  if (DragDetect(list, screen)) {
    dragging_ = true;
    SetCapture(list);
    dragMove(screen);
    return true;
  }
  // Not a drag: DragDetect took the button-up, so the list never reports this click; it is a plain
  // click all the same and selects the row alone.
  if (wasSelected) {
    selectOnly(row);
    DesignListClick();
  }
  return true;
}

void TEditForm::dragMove(POINT screen) {
  bool accept = false;
  RECT listRect{};
  GetWindowRect(DesignList.hwnd(), &listRect);
  POINT formPoint = screen;
  ScreenToClient(hwnd_, &formPoint);
  if (PtInRect(&listRect, screen)) {
    POINT client = screen;
    ScreenToClient(DesignList.hwnd(), &client);
    accept = DesignListDragOver(DesignList.hwnd(), client);
  } else if (menu_.checked(kCmdHelp) && layout_.statusBand.contains(formPoint.x, formPoint.y)) {
    accept = StatusBarDragOver();
  } else if (layout_.lbDesign.contains(formPoint.x, formPoint.y)) {
    accept = lbDesignDragOver();
  }
  SetCursor(LoadCursorW(nullptr, accept ? IDC_ARROW : IDC_NO));
}

void TEditForm::dragEnd(POINT screen) {
  dragging_ = false;
  ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  RECT listRect{};
  GetWindowRect(DesignList.hwnd(), &listRect);
  if (!PtInRect(&listRect, screen)) return;
  POINT client = screen;
  ScreenToClient(DesignList.hwnd(), &client);
  if (DesignListDragOver(DesignList.hwnd(), client)) DesignListDragDrop(DesignList.hwnd(), client);
}

void TEditForm::dragFailed(HWND list, const char* message) {
  // A failed drag step ends the drag and is told like a failed command; the list goes on working.
  dragging_ = false;
  if (GetCapture() == list) ReleaseCapture();
  try {
    plug_.prompts().showError(message);
  } catch (...) {
  }
}

void TEditForm::cancelDrag() {
  dragging_ = false;
  if (GetCapture() == DesignList.hwnd()) ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// ---- Delete, register, apply --------------------------------------------------------------------

void TEditForm::mnDeleteClick() {
  const std::vector<int> selected = selectedRows();
  if (selected.empty()) return;
  std::string question;
  for (const int row : selected) {
    question += '"';
    question += rows_.name(static_cast<std::size_t>(row));
    question += "\"\r\n";
  }
  question += kDeleteQuestion;
  if (!plug_.prompts().confirm(question)) return;

  // The kept rows are gathered in one pass: deleting one by one would cost time in the square of the
  // list's length when many rows go.
  DesignRows kept;
  kept.reserve(rows_.count() - selected.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < rows_.count(); ++i) {
    if (next < selected.size() && static_cast<std::size_t>(selected[next]) == i) {
      ++next;
      continue;
    }
    kept.append(rows_.name(i), rows_.design(i));
  }
  rows_ = std::move(kept);
  DesignList.setRedraw(false);
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) DesignList.deleteString(*it);
  DesignList.setRedraw(true);
  InvalidateRect(DesignList.hwnd(), nullptr, TRUE);
  if (DesignList.count() > 0) selectOnly(0);
  DesignListClick();
  modified_ = true;
}

void TEditForm::mnAddClick() {
  const std::size_t before = rows_.count();
  if (!capture(rows_, plug_.host(), plug_.currentPad(), plug_.prompts())) return;
  appendListRows(before);
  selectOnly(DesignList.count() - 1);
  DesignListClick();
  modified_ = true;
}

void TEditForm::mnPadClick() {
  if (DesignList.selCount() != 1) return;
  const int index = currentRow();
  if (index < 0) return;
  // The result is not shown: a refused value leaves the pad as the host keeps it.
  apply(rows_, static_cast<std::size_t>(index), plug_.host(), plug_.currentPad());
}

// ---- Import and export --------------------------------------------------------------------------

void TEditForm::mnImportClick() {
  const std::size_t before = rows_.count();
  bool loaded = false;
  try {
    loaded = importDesigns(rows_, plug_.settings().ImportDir, plug_.prompts(), plug_.files(), plug_.collation());
  } catch (const FileError& e) {
    plug_.prompts().showError(e.what());
    return;
  }
  // New rows come unselected: the selection and the enabled states stay as they were.
  appendListRows(before);
  if (loaded) modified_ = true;
}

void TEditForm::mnExportClick() {
  const std::vector<int> selected = selectedRows();
  if (selected.empty()) return;
  SaveFileRequest request;
  request.title = kExportTitle;
  request.filter = kExportFilter;
  request.defaultExtension = kExportExtension;
  request.initialFolder = plug_.settings().ExportDir;
  request.fileName = lastExportFile_;
  request.flags = kExportFlags;
  const auto path = SaveDialog->run(hwnd_, request);
  if (!path) return;
  lastExportFile_ = *path;
  try {
    TMemIniFile file = TMemIniFile::forRewrite(*path, plug_.files(), plug_.collation());
    int32_t section = 0;
    for (const int row : selected) saveDesignSection(file, ++section, rows_, static_cast<std::size_t>(row));
    file.updateFile();
  } catch (const FileError& e) {
    plug_.prompts().showError(e.what());
    return;
  }
  plug_.settings().ExportDir = std::string(folderPart(*path));
}

}  // namespace lumisk
