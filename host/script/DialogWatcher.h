// Answers the modal dialogs and message boxes that open on the host's thread, as a person at the screen
// would: it writes what the dialog shows (caption, texts, edit fields, button labels; for the open-file
// dialog its folder and file types) to the transcript, optionally types a text into the dialog's edit
// field, and presses a button.
//
// How: a thread timer ticks every few milliseconds in whatever message loop runs on the thread (the modal
// loop of a dialog or message box dispatches it like any other message). Each tick looks for a visible,
// enabled top-level dialog (class #32770) of this thread; the innermost modal one is the enabled one,
// since a modal dialog disables its owner. A dialog is answered once it has been seen on two ticks in a
// row, so that it is fully built. Answers are queued beforehand, one per dialog, in the order the dialogs
// will open; a dialog that finds no answer is noted and closed, so that a run never waits for a person.
// An answer may carry something to do while its dialog is open, before the answer is given: the calls
// that reach a plug-in from the rest of the launcher while one of its prompts is open. The dialogs that
// those calls open are answered meanwhile.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "host/Transcript.h"

namespace lumisk::host {

struct DialogAnswer {
  enum class Kind { Ok, Cancel, Close, Text };
  Kind kind = Kind::Ok;
  std::wstring text;  // Kind::Text: typed into the edit field, then OK is pressed
  std::function<void()> whileOpen;  // run once the dialog is there, before the answer; none when empty
};

class DialogWatcher {
 public:
  // Starts watching the calling thread. At most one watcher per thread.
  explicit DialogWatcher(Transcript& transcript);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  void queue(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  // Gives the answer queued last something to do while its dialog is open. Throws std::runtime_error
  // when no answer is queued.
  void whileOpen(std::function<void()> action);
  // Answers that no dialog took; the queue is emptied.
  std::size_t dropUnused();
  // Dialogs that opened with no answer queued, since the last call; the count restarts.
  int takeUnexpected();

  static constexpr UINT kTickMs = 15;

 private:
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
  void tick();
  void handle(HWND dialog);
  void record(HWND dialog, bool fileDialog);
  void perform(HWND dialog, const DialogAnswer& answer, bool fileDialog);

  Transcript& transcript_;
  std::deque<DialogAnswer> answers_;
  int unexpected_ = 0;
  UINT_PTR timer_ = 0;
  unsigned long ticks_ = 0;
  std::map<HWND, unsigned long> firstSeen_;  // dialogs waiting to settle
  std::map<HWND, unsigned long> answered_;   // dialogs answered, and when
  std::set<HWND> waiting_;                   // dialogs whose whileOpen runs: not to be answered yet
  bool busy_ = false;
  DialogWatcher* outer_ = nullptr;
  static thread_local DialogWatcher* active_;
};

}  // namespace lumisk::host
