#include "win32/Ui.h"

#include "win32/Cp932.h"

namespace lumisk {

FontHandle createUiFont(int weight) {
  const std::wstring face = toWide(kUiFontFace);
  return FontHandle(CreateFontW(-kUiFontPixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                face.c_str()));
}

std::wstring windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace lumisk
