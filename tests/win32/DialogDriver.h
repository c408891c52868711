// Answers the modal dialogs and message boxes of the test's own thread as a person would, from inside
// their modal loops: a thread timer looks for the next dialog of the thread, waits until it is active,
// records what it shows and runs the test's action on it (press a button, type, Esc, the close box).
//
// Every dialog is handled once. A dialog that appears when no step is left is recorded as unexpected and
// cancelled. When no new dialog has come for a few seconds while the modal loop still runs (a step's
// dialog never came, or an action did not end its dialog), the driver gives up and cancels every dialog
// of the thread. Either way the test fails instead of hanging.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace lumisk::testing {

// What a dialog showed when the driver found it.
struct DialogSnapshot {
  struct Button {
    int id;
    std::wstring text;
    HWND window;
    bool visible;
  };
  HWND window = nullptr;
  std::wstring caption;
  std::vector<std::wstring> texts;  // text of every static control that is no picture, in child order
  std::vector<Button> buttons;
  std::vector<HWND> edits;
  HICON icon = nullptr;  // the picture of a static icon control, if any

  const Button* button(int id) const;
};

class DialogDriver {
 public:
  using Action = std::function<void(const DialogSnapshot&)>;

  DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  ~DialogDriver();

  // The next dialog that appears gets `action`.
  DialogDriver& then(Action action);

  // Actions, as a person would take them.
  static Action press(int id);                         // a click on the button
  static Action pressEscape();                         // Esc in the focused control
  static Action pressEnter();                          // Enter in the focused control
  static Action closeBox();                            // the close box of the title bar
  static Action type(std::wstring text, Action then);  // typed into the focused control, then `then`
  static Action chooseFile(std::wstring name);         // a file dialog: `name` in its name field, then OK

  // Every dialog handled, in order, the unexpected ones included.
  const std::vector<DialogSnapshot>& seen() const { return seen_; }
  // True when every step ran on a dialog of its own, no other dialog appeared and the driver never gave up.
  bool finished() const { return steps_.empty() && !timedOut_ && unexpected_ == 0; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) noexcept;
  void onTick();
  HWND nextDialog();

  static thread_local DialogDriver* active_;
  DialogDriver* outer_;
  UINT_PTR timer_ = 0;
  std::deque<Action> steps_;
  std::vector<DialogSnapshot> seen_;
  std::set<HWND> handled_;
  int idleTicks_ = 0;
  int waitingTicks_ = 0;
  bool timedOut_ = false;
  int unexpected_ = 0;
};

DialogSnapshot snapshotOf(HWND dialog);
std::wstring textOf(HWND window);
// A child window's rectangle in its parent's client coordinates.
RECT childRect(HWND child);
// Characters as typed on the keyboard, one WM_CHAR each: edit limits and selections apply.
void typeInto(HWND edit, std::wstring_view text);

}  // namespace lumisk::testing
