// The plumbing of every window of ours, written once: one window procedure that attaches the object at
// WM_NCCREATE, finds it again for every later message, lets go of it at WM_NCDESTROY, and keeps every
// failure out of the system. A window of such a class is made with createWindow, so that the procedure
// gets the object; its class is registered with registerClass, which names this procedure.
//
// Each handler (onMessage) starts with its throw point. A handler's failure goes to onFailure, which
// tells whom it concerns (the window's own rule: a box, a note kept for later, or nothing) and gives the
// procedure's result; nothing is thrown into the system's frames.
#pragma once

#include <windows.h>

namespace lumisk {

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  // The window, from WM_NCCREATE until WM_NCDESTROY; null before and after.
  HWND hwnd() const { return hwnd_; }

 protected:
  WindowBase() = default;
  // A window that still exists no longer reaches the object: its messages go to DefWindowProc.
  virtual ~WindowBase();

  // Registers the class `wc` describes, with this procedure; the other fields are the caller's. An
  // existing registration of the name in wc.hInstance is kept when it has this procedure, and replaced
  // when it has another: one left by an earlier load of the library at another address, whose procedure
  // is gone. False when the class could not be registered (GetLastError).
  static bool registerClass(WNDCLASSEXW wc);

  // CreateWindowExW with this object attached. The window, or null when it could not be created.
  HWND createWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int x, int y,
                    int width, int height, HWND parent, HINSTANCE module);

  // Every message from WM_NCCREATE on, WM_NCDESTROY excepted. defaultProc gives the default handling.
  virtual LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // onMessage failed; `text` is the failure's message (code page 932). Runs inside the handler's catch
  // block, so std::current_exception() is the failure. The procedure's result for the message.
  virtual LRESULT onFailure(UINT message, WPARAM wParam, LPARAM lParam, const char* text) noexcept = 0;
  // The window is gone: WM_NCDESTROY has had its default handling and hwnd() is null. The object may be
  // released in here; nothing of it is touched afterwards. A failure here goes unheard.
  virtual void onGone() {}

  LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  HWND hwnd_ = nullptr;
};

}  // namespace lumisk
