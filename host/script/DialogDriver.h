// Answers the modal dialogs and message boxes of the calling thread as a person would, from inside their
// modal loops. The stand-in host's scripts answer the plug-in's dialogs with it (DialogWatcher.h), and the
// Wine tests drive real dialogs with it.
//
// How: a thread timer ticks in whatever message loop runs on the thread (the modal loop of a dialog or a
// box dispatches it like any other message). Each tick looks for a visible, enabled top-level dialog
// (class #32770) of this thread; the innermost modal one is the enabled one, since a modal dialog
// disables its owner. A dialog is taken once it has been seen on two ticks in a row, so that it is fully
// built (and, where the rules ask for it, once it is active, as a person answers a box that has taken the
// keyboard, or has been there a second). What it shows is read (DialogSnapshot) and the next step runs on
// it. A step may open modal loops of its own (a box over the dialog, commands that reach the plug-in
// meanwhile): the ticks go on and the dialogs that come are taken by the steps after it, while its own
// dialog waits for it. A dialog that is still there some time after its step (the open-file dialog keeps
// itself open for a file that does not exist; a dialog stays open after a box over it closes) is taken
// anew by the next step.
//
// A dialog that finds no step, or not the step's match, is unexpected: it is ended the rules' way, so that
// a run never waits for a person. Where the rules say so, the driver gives up after a time with no dialog
// to take, and cancels every dialog of the thread from then on: a test fails instead of hanging.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lumisk::host {

// What a dialog showed when the driver took it.
struct DialogSnapshot {
  enum class Kind { Text, Picture, Button, Edit, ComboBox, Other };
  struct Control {
    HWND window = nullptr;
    int id = 0;
    Kind kind = Kind::Other;  // Text: a static control that shows no picture
    std::wstring text;
    bool visible = false;
  };

  HWND window = nullptr;
  std::wstring caption;
  bool fileDialog = false;         // the system's open-file or save-file dialog
  std::vector<Control> controls;   // the dialog's own controls, in child order
  HICON icon = nullptr;            // the picture of a static icon control, if any

  // The text of every static control that shows no picture, and every button, in child order.
  std::vector<std::wstring> texts() const;
  std::vector<Control> buttons() const;
};

class DialogDriver {
 public:
  using Action = std::function<void(const DialogSnapshot&)>;
  using Match = std::function<bool(const DialogSnapshot&)>;

  struct Rules {
    bool waitForActive = true;  // take a dialog once it is active, or has been there a second
    int giveUpMs = 6000;        // after this long with no dialog to take, cancel them all; 0: never
    Action unexpected;          // what ends a dialog that no step takes; empty: press(IDCANCEL)
  };

  // Starts driving the calling thread's dialogs; a driver made later on the thread drives them until it
  // goes. Throws std::runtime_error when the timer cannot be made.
  DialogDriver();
  explicit DialogDriver(Rules rules);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // The next dialog gets `action`; with `match`, a dialog that does not match is unexpected and the step
  // waits for the next one.
  DialogDriver& then(Action action);
  DialogDriver& then(Match match, Action action);
  // A step that needs the dialog's window only.
  DialogDriver& then(Match match, std::function<void(HWND)> action);

  // Steps that no dialog has taken yet.
  std::size_t pending() const { return steps_.size(); }
  // Steps that no dialog took; they are dropped.
  std::size_t dropSteps();
  // Dialogs that were unexpected since the last call; the count restarts.
  int takeUnexpected();
  // Every dialog taken, in order, the unexpected ones included.
  const std::vector<DialogSnapshot>& seen() const { return seen_; }
  // True when every step ran on a dialog of its own, no dialog was unexpected and the driver never gave up.
  bool finished() const { return steps_.empty() && !gaveUp_ && unexpected_ == 0; }

  // Matches: dialogs with this caption; dialogs that hold a control with this identifier.
  static Match captioned(std::wstring caption);
  static Match holding(int controlId);

  // Actions, as a person would take them.
  static Action press(int id);                         // a click on the button
  static Action pressEscape();                         // Esc in the focused control
  static Action pressEnter();                          // Enter in the focused control
  static Action closeBox();                            // the close box of the title bar
  static Action type(std::wstring text, Action then);  // typed into the focused control, then `then`
  static Action submit(std::wstring text);             // `text` in the typing field (typingField), then OK

  static constexpr UINT kTickMs = 15;

 private:
  struct Step {
    Match match;
    Action action;
  };
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
  void tick();
  bool settled(HWND dialog, unsigned long firstSeen) const;
  void handle(HWND dialog);

  Rules rules_;
  std::deque<Step> steps_;
  std::vector<DialogSnapshot> seen_;
  int unexpected_ = 0;
  UINT_PTR timer_ = 0;
  unsigned long ticks_ = 0;
  unsigned long idleTicks_ = 0;
  bool gaveUp_ = false;
  std::map<HWND, unsigned long> firstSeen_;  // dialogs waiting to settle
  std::map<HWND, unsigned long> answered_;   // dialogs taken, and when
  std::set<HWND> waiting_;                   // dialogs whose step runs: not to be taken again yet
  bool busy_ = false;
  DialogDriver* outer_ = nullptr;
  static thread_local DialogDriver* active_;
};

DialogSnapshot snapshotOf(HWND dialog);
// The field into which a person types: the file name of a file dialog, else the first visible edit
// field, else the edit part of the first visible drop-down combo box; nullptr when there is none.
HWND typingField(const DialogSnapshot& dialog);
// The items of a combo box (a file dialog's file types), in order.
std::vector<std::wstring> listTexts(HWND comboBox);
// The folder a file dialog shows; empty when it tells none.
std::wstring folderOf(HWND fileDialog);
// A child window's rectangle in its parent's client coordinates.
RECT childRect(HWND child);
// Characters as typed on the keyboard, one WM_CHAR each: edit limits and selections apply.
void typeInto(HWND edit, std::wstring_view text);
// A click of a dialog's button as the button itself reports it, sent: done when this returns.
void click(HWND dialog, int id);

}  // namespace lumisk::host
