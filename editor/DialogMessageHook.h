// Keyboard routing for a modeless window in a message loop that knows nothing of it.
//
// The host's loop only gets and dispatches messages: it never calls TranslateAccelerator or
// IsDialogMessage for the plug-in's window. While a DialogMessageHook lives, a thread message hook
// (WH_GETMESSAGE) gives every keyboard message meant for the window or one of its children first to the
// window's accelerator table, then to the dialog navigation (Tab, Enter for the default button, Esc
// for Cancel); a message either of them handled is turned into WM_NULL before the loop dispatches it.
// While a menu of the thread is open its keys are left to the menu alone.
#pragma once

#include <windows.h>

#include <string>

#include "win32/GuiHandles.h"

namespace lumisk {

class DialogMessageHook {
 public:
  // Installs the hook on the calling thread for `window` with `accelerators` (both not owned; both must
  // outlive the hook). Throws std::runtime_error when the hook cannot be installed, std::logic_error
  // when another DialogMessageHook exists: the library has one such window at a time.
  // A key that cannot be routed is dispatched as it is. The first such failure posts `failedMessage` to
  // the window, which tells the person failure() from its own procedure: a box shown inside the hook
  // would run its own message loop through the hook again.
  DialogMessageHook(HWND window, HACCEL accelerators, UINT failedMessage);
  ~DialogMessageHook();
  DialogMessageHook(const DialogMessageHook&) = delete;
  DialogMessageHook& operator=(const DialogMessageHook&) = delete;

  // The message of the first failure to route a key (code page 932); empty while none failed.
  const std::string& failure() const { return failure_; }
  bool failed() const { return failed_; }

 private:
  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam);
  void route(MSG& msg) const;
  void noteFailure(const char* message) noexcept;

  HWND window_;
  HACCEL accelerators_;
  UINT failedMessage_;
  HookHandle hook_;
  bool failed_ = false;
  std::string failure_;
};

}  // namespace lumisk
