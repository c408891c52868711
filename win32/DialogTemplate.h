// A dialog template built in memory: the layout of a small dialog in dialog units, without a resource
// script, for DialogBoxIndirectParamW.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace lumisk {

class DialogTemplate {
 public:
  // Atoms of the predefined control classes.
  static constexpr WORD kButton = 0x0080;
  static constexpr WORD kEdit = 0x0081;
  static constexpr WORD kStatic = 0x0082;

  // `cx` and `cy` are the client area. With a font (DS_SETFONT is added), the dialog units are those of
  // that font; Windows substitutes a font of its own for a face that is not installed.
  DialogTemplate(DWORD style, short cx, short cy, std::wstring_view caption, WORD pointSize = 0,
                 std::wstring_view fontFace = {});
  // A control of a predefined class; WS_CHILD and WS_VISIBLE are always added.
  void add(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy, std::wstring_view text);

  // Valid until the next add() or the template's end.
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void put(WORD w) { words_.push_back(w); }
  void putDword(DWORD d);
  void putText(std::wstring_view text);
  void alignToDword();

  // DLGTEMPLATE and its items are WORD and DWORD fields, DWORD-aligned items, so a vector of WORDs
  // (its storage is aligned for far more) holds them.
  std::vector<WORD> words_;
};

}  // namespace lumisk
