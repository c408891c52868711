// Answers the modal dialogs and message boxes that open on the host's thread, as a person at the screen
// would (DialogDriver.h says how a dialog is found and when it is taken): it writes what the dialog shows
// (caption, texts, edit fields, button labels; for the open-file dialog its folder and file types) to the
// transcript, optionally types a text into the dialog's edit field, and presses a button.
//
// Answers are queued beforehand, one per dialog, in the order the dialogs will open; a dialog that finds
// no answer is noted and closed, so that a run never waits for a person. An answer may carry something
// to do while its dialog is open, before the answer is given: the calls that reach a plug-in from the
// rest of the launcher while one of its prompts is open. The dialogs that those calls open are answered
// meanwhile.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/Transcript.h"
#include "host/script/DialogDriver.h"

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

  void queue(DialogAnswer answer);
  // Gives the answer queued last something to do while its dialog is open. Throws std::runtime_error
  // when no answer is queued.
  void whileOpen(std::function<void()> action);
  // Answers that no dialog took; the queue is emptied.
  std::size_t dropUnused() { return driver_.dropSteps(); }
  // Dialogs that opened with no answer queued, since the last call; the count restarts.
  int takeUnexpected() { return driver_.takeUnexpected(); }

 private:
  void record(const DialogSnapshot& dialog);
  void perform(const DialogSnapshot& dialog, const DialogAnswer& answer);

  Transcript& transcript_;
  DialogDriver driver_;
  std::shared_ptr<DialogAnswer> last_;  // the answer queued last
};

}  // namespace lumisk::host
