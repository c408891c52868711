#include "win32/DialogTemplate.h"

namespace lumisk {
namespace {

constexpr std::size_t kItemCountWord = 4;  // DLGTEMPLATE::cdit: after style and dwExtendedStyle

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, std::wstring_view caption, WORD pointSize,
                               std::wstring_view fontFace) {
  const bool hasFont = !fontFace.empty();
  putDword(hasFont ? (style | DS_SETFONT) : (style & ~static_cast<DWORD>(DS_SETFONT)));
  putDword(0);  // extended style
  put(0);       // item count, raised by add()
  put(0);       // x, y: the dialog procedure places the dialog
  put(0);
  put(static_cast<WORD>(cx));
  put(static_cast<WORD>(cy));
  put(0);  // no menu
  put(0);  // the dialog class
  putText(caption);
  if (hasFont) {
    put(pointSize);
    putText(fontFace);
  }
}

void DialogTemplate::add(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy,
                         std::wstring_view text) {
  alignToDword();
  putDword(style | WS_CHILD | WS_VISIBLE);
  putDword(0);  // extended style
  put(static_cast<WORD>(x));
  put(static_cast<WORD>(y));
  put(static_cast<WORD>(cx));
  put(static_cast<WORD>(cy));
  put(id);
  put(0xFFFF);
  put(classAtom);
  putText(text);
  put(0);  // no creation data
  ++words_[kItemCountWord];
}

void DialogTemplate::putDword(DWORD d) {
  put(LOWORD(d));
  put(HIWORD(d));
}

void DialogTemplate::putText(std::wstring_view text) {
  for (wchar_t c : text) put(static_cast<WORD>(c));
  put(0);
}

void DialogTemplate::alignToDword() {
  if (words_.size() % 2) put(0);
}

}  // namespace lumisk
