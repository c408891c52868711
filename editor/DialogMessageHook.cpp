#include "editor/DialogMessageHook.h"

#include <exception>
#include <stdexcept>

#include "win32/ExportGuard.h"
#include "win32/ThrowPoint.h"

namespace lumisk {
namespace {

// The hook procedure has no user data of its own; the editor, the only window that needs one, lives on
// the host's one user-interface thread.
DialogMessageHook* gActiveHook = nullptr;

// A menu's loop reads its keys through the same queue, so the hook sees them as they are taken off it,
// after the menu has acted on them: routed again, Esc would also press Cancel, Enter OK, and the arrows
// would move the focused list. A key that opens a menu (Alt, F10, Alt with a letter) arrives before the
// menu is open and is routed as always: the navigation presses no button for it and dispatches it to the
// window, whose default handling opens the menu; what the opening itself queues for the menu comes after.
bool menuOpen() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
         (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE)) != 0;
}

}  // namespace

DialogMessageHook::DialogMessageHook(HWND window, HACCEL accelerators, UINT failedMessage)
    : window_(window), accelerators_(accelerators), failedMessage_(failedMessage) {
  if (gActiveHook) throw std::logic_error("a dialog message hook is already installed on this thread");
  hook_ = HookHandle(SetWindowsHookExW(WH_GETMESSAGE, &DialogMessageHook::hookProc, nullptr, GetCurrentThreadId()));
  if (!hook_) throw std::runtime_error("メッセージフックを設定できません。");
  gActiveHook = this;
}

DialogMessageHook::~DialogMessageHook() {
  if (gActiveHook == this) gActiveHook = nullptr;
}

void DialogMessageHook::route(MSG& msg) const {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return;
  if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return;
  if (menuOpen()) return;
  // Both calls may send commands to the window, and a command may close it and end this hook:
  // nothing of the hook object is used once they have run.
  const HWND window = window_;
  if (accelerators_ && TranslateAcceleratorW(window, accelerators_, &msg)) {
    msg.message = WM_NULL;
    return;
  }
  if (IsDialogMessageW(window, &msg)) msg.message = WM_NULL;
}

void DialogMessageHook::noteFailure(const char* message) noexcept {
  if (failed_) return;
  failed_ = true;
  try {
    failure_ = message;
  } catch (...) {
    // No memory even for the text: the window tells the general failure instead.
  }
  PostMessageW(window_, failedMessage_, 0, 0);
}

LRESULT CALLBACK DialogMessageHook::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only messages taken off the queue: a peek that leaves the message there must not act on it twice.
  if (code == HC_ACTION && wParam == PM_REMOVE && gActiveHook) {
    // A key that could not be routed is dispatched as it is; the host's loop must go on. The routing
    // may have closed the window and ended the hook: only a hook still active hears of the failure.
    try {
      throwPoint("DialogMessageHook.hookProc");
      gActiveHook->route(*reinterpret_cast<MSG*>(lParam));
    } catch (const std::exception& e) {
      if (gActiveHook) gActiveHook->noteFailure(e.what());
    } catch (...) {
      if (gActiveHook) gActiveHook->noteFailure(kUnexpectedText);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace lumisk
