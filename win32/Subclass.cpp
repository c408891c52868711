#include "win32/Subclass.h"

#include <utility>

#include "win32/ExportGuard.h"

namespace lumisk {

Subclass::Subclass(Handler handler, Report report) : handler_(std::move(handler)), report_(std::move(report)) {}

Subclass::~Subclass() {
  if (window_ && IsWindow(window_)) detach();
}

bool Subclass::attach(HWND window) {
  if (!window || window_ || GetWindowLongPtrW(window, GWLP_USERDATA) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetLastError(0);
  const LONG_PTR original =
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::procedure));
  if (!original) {
    const DWORD error = GetLastError();
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    SetLastError(error);
    return false;
  }
  original_ = reinterpret_cast<WNDPROC>(original);
  window_ = window;
  return true;
}

void Subclass::detach() {
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  window_ = nullptr;
}

LRESULT CALLBACK Subclass::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<Subclass*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->original_) return DefWindowProcW(window, message, wParam, lParam);
  const WNDPROC original = self->original_;
  if (message == WM_NCDESTROY) {
    // The control goes before its owner's object: from here on it is served by its own procedure alone.
    self->detach();
    return CallWindowProcW(original, window, message, wParam, lParam);
  }
  if (!self->failed_) {
    std::optional<LRESULT> answer;
    guardedCall<int>(
        0,
        [&] {
          answer = self->handler_(window, message, wParam, lParam);
          return 0;
        },
        [&](const char* text) {
          self->failed_ = true;
          try {
            self->report_(window, text);
          } catch (...) {
          }
        });
    if (answer) return *answer;
  }
  return CallWindowProcW(original, window, message, wParam, lParam);
}

}  // namespace lumisk
