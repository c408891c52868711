// Drives real modal dialogs from inside their own modal loop: a thread timer looks for the window each
// step waits for (visible, enabled, so the innermost modal one) and runs the step's action on it. A step
// that never finds its window ends every open dialog of the thread after a few seconds, so a test fails
// instead of hanging.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace lumisk::testing {

class ModalScript {
 public:
  using Match = std::function<bool(HWND)>;
  using Action = std::function<void(HWND)>;

  ModalScript();
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;
  ~ModalScript();

  // Adds a step: once a window matching `match` appears, `action` runs on it.
  ModalScript& then(Match match, Action action);
  // True when every step has run and none timed out.
  bool finished() const { return steps_.empty() && !timedOut_; }

  // Windows with this caption (code page 932).
  static Match captioned(const std::string& caption);
  // Dialogs that hold a control with this id.
  static Match holding(int controlId);

 private:
  struct Step {
    Match match;
    Action action;
  };
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  void onTick();

  static ModalScript* active_;
  std::deque<Step> steps_;
  UINT_PTR timer_ = 0;
  int idleTicks_ = 0;
  bool timedOut_ = false;
};

// Client-relative rectangle of a child window.
RECT childRect(HWND child);
std::wstring textOf(HWND hwnd);
// A click of a dialog's button as the button itself reports it.
void click(HWND dialog, int id);

}  // namespace lumisk::testing
