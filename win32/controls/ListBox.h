// Thin wrapper over a list box window: one message per method.
#pragma once

#include <windows.h>

#include <cstddef>

#include "win32/controls/Control.h"

namespace lumisk::controls {

class ListBox : public Control {
 public:
  using Control::Control;

  int count() const { return send(LB_GETCOUNT); }
  int addString(const wchar_t* text) const { return send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
  int insertString(int index, const wchar_t* text) const {
    return send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  }
  int deleteString(int index) const { return send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
  void resetContent() const { send(LB_RESETCONTENT); }
  // Reserves room for `items` more rows holding `bytes` of text in all: one allocation for a bulk fill.
  int initStorage(int items, std::size_t bytes) const {
    return send(LB_INITSTORAGE, static_cast<WPARAM>(items), static_cast<LPARAM>(bytes));
  }
  int textLength(int index) const { return send(LB_GETTEXTLEN, static_cast<WPARAM>(index)); }
  int text(int index, wchar_t* buffer) const {
    return send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
  }

  bool selected(int index) const { return send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }
  // Multiple-selection lists: `index` -1 selects or clears every row.
  int setSel(bool select, int index) const { return send(LB_SETSEL, select ? TRUE : FALSE, index); }
  int selCount() const { return send(LB_GETSELCOUNT); }
  int selItems(int* buffer, int size) const {
    return send(LB_GETSELITEMS, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer));
  }
  int caretIndex() const { return send(LB_GETCARETINDEX); }
  int setCaretIndex(int index) const { return send(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE); }
  int anchorIndex() const { return send(LB_GETANCHORINDEX); }
  int setAnchorIndex(int index) const { return send(LB_SETANCHORINDEX, static_cast<WPARAM>(index)); }
  int topIndex() const { return send(LB_GETTOPINDEX); }
  int setTopIndex(int index) const { return send(LB_SETTOPINDEX, static_cast<WPARAM>(index)); }
  int itemHeight() const { return send(LB_GETITEMHEIGHT); }
  int setItemHeight(int height) const { return send(LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0)); }
  bool itemRect(int index, RECT& rect) const {
    return send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != LB_ERR;
  }
  void setRedraw(bool redraw) const { send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

 private:
  int send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return static_cast<int>(Control::send(message, wParam, lParam));
  }
};

}  // namespace lumisk::controls
