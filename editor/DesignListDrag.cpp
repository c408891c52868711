#include "editor/DesignListDrag.h"

#include <windowsx.h>

#include <utility>

#include "win32/ThrowPoint.h"

namespace lumisk {

DesignListDrag::DesignListDrag(WorkingCopy& rows, const EditLayout& layout, Prompts& prompts,
                               std::function<void()> selectionChanged)
    : rows_(rows),
      layout_(layout),
      prompts_(prompts),
      selectionChanged_(std::move(selectionChanged)),
      subclass_([this](HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
                  return onListMessage(list, message, wParam, lParam);
                },
                [this](HWND list, const char* text) { dragFailed(list, text); }) {}

void DesignListDrag::attach() { subclass_.attach(rows_.list().hwnd()); }

namespace {

POINT toScreen(HWND list, POINT client) {
  ClientToScreen(list, &client);
  return client;
}

}  // namespace

std::optional<LRESULT> DesignListDrag::onListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  // The list is the editor window's, and so is the name of the point where its messages enter.
  throwPoint("TEditForm.designListProc");
  const POINT client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      if (!onButtonDown(list, client, wParam)) return std::nullopt;
      return 0;
    case WM_MOUSEMOVE:
      if (!dragging_) return std::nullopt;
      dragMove(toScreen(list, client));
      return 0;
    case WM_LBUTTONUP:
      if (!dragging_) return std::nullopt;
      dragEnd(toScreen(list, client));
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lParam) != list) dragging_ = false;
      return std::nullopt;
    case WM_KEYDOWN:
      if (!dragging_ || wParam != VK_ESCAPE) return std::nullopt;
      cancelDrag();
      return 0;
    default:
      return std::nullopt;
  }
}

// ---- Press, move, release -----------------------------------------------------------------------

bool DesignListDrag::onButtonDown(HWND list, POINT client, WPARAM keys) {
  // Shift and Ctrl clicks extend the selection as usual and never start a drag.
  if (keys & (MK_SHIFT | MK_CONTROL)) return false;
  const int row = rowAt(client);
  if (row < 0) return false;
  SetFocus(list);
  // A press on an unselected row selects it alone at once; a press on a selected row keeps the
  // selection, so that dragging one of several selected designs is refused.
  const bool wasSelected = rows_.list().selected(row);
  if (!wasSelected) {
    rows_.selectOnly(row);
    selectionChanged_();
  }
  const POINT screen = toScreen(list, client);
  if (DragDetect(list, screen)) {
    dragging_ = true;
    SetCapture(list);
    dragMove(screen);
    return true;
  }
  // Not a drag: DragDetect took the button-up, so the list never reports this click; it is a plain
  // click all the same and selects the row alone.
  if (wasSelected) {
    rows_.selectOnly(row);
    selectionChanged_();
  }
  return true;
}

void DesignListDrag::dragMove(POINT screen) {
  const HWND list = rows_.list().hwnd();
  bool accept = false;
  RECT listRect{};
  GetWindowRect(list, &listRect);
  POINT formPoint = screen;
  ScreenToClient(GetParent(list), &formPoint);
  if (PtInRect(&listRect, screen)) {
    POINT client = screen;
    ScreenToClient(list, &client);
    accept = DesignListDragOver(list, client);
  } else if (layout_.statusBand.contains(formPoint.x, formPoint.y)) {
    // The band is empty while the status bar is hidden.
    accept = StatusBarDragOver();
  } else if (layout_.lbDesign.contains(formPoint.x, formPoint.y)) {
    accept = lbDesignDragOver();
  }
  SetCursor(LoadCursorW(nullptr, accept ? IDC_ARROW : IDC_NO));
}

void DesignListDrag::dragEnd(POINT screen) {
  const HWND list = rows_.list().hwnd();
  dragging_ = false;
  ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  RECT listRect{};
  GetWindowRect(list, &listRect);
  if (!PtInRect(&listRect, screen)) return;
  POINT client = screen;
  ScreenToClient(list, &client);
  if (DesignListDragOver(list, client)) DesignListDragDrop(list, client);
}

void DesignListDrag::dragFailed(HWND list, const char* message) {
  // A failed drag step ends the drag and is told like a failed command; the list goes on working.
  dragging_ = false;
  if (GetCapture() == list) ReleaseCapture();
  prompts_.showError(message);
}

void DesignListDrag::cancelDrag() {
  dragging_ = false;
  if (GetCapture() == rows_.list().hwnd()) ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

// ---- Drop and drag scroll -----------------------------------------------------------------------

int DesignListDrag::rowAt(POINT client) const {
  const controls::ListBox list = rows_.list();
  RECT area{};
  GetClientRect(list.hwnd(), &area);
  if (!PtInRect(&area, client)) return -1;
  const int height = list.itemHeight();
  if (height <= 0) return -1;
  // Computed rather than asked with LB_ITEMFROMPOINT, whose answer holds 16 bits of row index.
  const int index = list.topIndex() + client.y / height;
  if (index < 0 || index >= list.count()) return -1;
  RECT item{};
  if (!list.itemRect(index, item) || !PtInRect(&item, client)) return -1;
  return index;
}

bool DesignListDrag::DesignListDragOver(HWND source, POINT point) const {
  const controls::ListBox list = rows_.list();
  return source == list.hwnd() && list.selCount() == 1 && rowAt(point) >= 0;
}

void DesignListDrag::DesignListDragDrop(HWND source, POINT point) {
  const controls::ListBox list = rows_.list();
  if (source != list.hwnd() || list.selCount() != 1) return;
  const int target = rowAt(point);
  const int current = rows_.currentRow();
  if (target < 0 || current < 0) return;
  if (rows_.move(current, target)) selectionChanged_();
}

bool DesignListDrag::StatusBarDragOver() {
  const controls::ListBox list = rows_.list();
  const int top = list.topIndex();
  if (top < list.count() - 1) list.setTopIndex(top + 1);
  return false;
}

bool DesignListDrag::lbDesignDragOver() {
  const controls::ListBox list = rows_.list();
  const int top = list.topIndex();
  if (top > 0) list.setTopIndex(top - 1);
  return false;
}

}  // namespace lumisk
