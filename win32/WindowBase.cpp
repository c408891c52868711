#include "win32/WindowBase.h"

#include "win32/ExportGuard.h"

namespace lumisk {

WindowBase::~WindowBase() {
  if (hwnd_ && IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

bool WindowBase::registerClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowBase::windowProc;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) {
    if (existing.lpfnWndProc == &WindowBase::windowProc) return true;
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
  }
  return RegisterClassExW(&wc) != 0;
}

HWND WindowBase::createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int x,
                              int y, int width, int height, HWND parent, HINSTANCE module) {
  return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr, module,
                         static_cast<WindowBase*>(this));
}

LRESULT CALLBACK WindowBase::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  WindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<WindowBase*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  // Before WM_NCCREATE (WM_GETMINMAXINFO comes first) the window has no object yet.
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    self->hwnd_ = nullptr;
    try {
      self->onGone();  // may release the object
    } catch (...) {
    }
    return result;
  }
  bool failed = false;
  LRESULT failedResult = 0;
  const LRESULT result = guardedCall<LRESULT>(
      0, [&] { return self->onMessage(message, wParam, lParam); },
      [&](const char* text) {
        failed = true;
        failedResult = self->onFailure(message, wParam, lParam, text);
      });
  return failed ? failedResult : result;
}

}  // namespace lumisk
