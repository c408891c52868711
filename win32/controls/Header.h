// Thin wrapper over a header control: one message per method.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "win32/controls/Control.h"

namespace lumisk::controls {

class Header : public Control {
 public:
  using Control::Control;

  int itemCount() const { return static_cast<int>(send(HDM_GETITEMCOUNT)); }
  int insertItem(int index, const HDITEMW& item) const {
    return static_cast<int>(send(HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
  }
  bool item(int index, HDITEMW& item) const {
    return send(HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool setItem(int index, const HDITEMW& item) const {
    return send(HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
  }
  bool itemRect(int index, RECT& rect) const {
    return send(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) != 0;
  }
  // The width of section `index`; 0 when there is no such section.
  int width(int index) const {
    HDITEMW section{};
    section.mask = HDI_WIDTH;
    return item(index, section) ? section.cxy : 0;
  }
  bool setWidth(int index, int width) const {
    HDITEMW section{};
    section.mask = HDI_WIDTH;
    section.cxy = width;
    return setItem(index, section);
  }
};

}  // namespace lumisk::controls
