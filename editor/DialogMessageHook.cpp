#include "editor/DialogMessageHook.h"

#include <stdexcept>

namespace lumisk {
namespace {

// The hook procedure has no user data of its own; the editor, the only window that needs one, lives on
// the host's one user-interface thread.
DialogMessageHook* gActiveHook = nullptr;

}  // namespace

DialogMessageHook::DialogMessageHook(HWND window, HACCEL accelerators)
    : window_(window), accelerators_(accelerators) {
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
  // Both calls may send commands to the window, and a command may close it and end this hook:
  // nothing of the hook object is used once they have run.
  const HWND window = window_;
  if (accelerators_ && TranslateAcceleratorW(window, accelerators_, &msg)) {
    msg.message = WM_NULL;
    return;
  }
  if (IsDialogMessageW(window, &msg)) msg.message = WM_NULL;
}

LRESULT CALLBACK DialogMessageHook::hookProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only messages taken off the queue: a peek that leaves the message there must not act on it twice.
  if (code == HC_ACTION && wParam == PM_REMOVE && gActiveHook) {
    try {
      gActiveHook->route(*reinterpret_cast<MSG*>(lParam));
    } catch (...) {
      // A key that could not be routed is dispatched as it is; the host's loop must go on.
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace lumisk
