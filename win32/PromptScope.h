// The launcher waits while one of the plug-in's prompts is open, as it waits for a task-modal box: a
// box owned by one window would leave its other windows usable, and through them the launcher could
// call into the plug-in in the middle of the prompt. Every modal box and dialog of the plug-in runs
// inside one of these scopes.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace lumisk {

class PromptScope {
 public:
  // Disables every enabled, visible top-level window of the calling thread except the top-level window
  // of `owner` (none when null): a modal dialog disables its owner itself and enables it again before
  // it goes, so that the owner, not some other program, becomes active again. The prompt's own window
  // does not exist yet. Never throws: a window it could not note is left as it is.
  explicit PromptScope(HWND owner) noexcept;
  // Enables again exactly the windows this scope disabled that still exist; a scope inside another one
  // (a prompt shown from a prompt) thus gives back only what it took. The outermost scope then posts
  // what postWhenClosed held back.
  ~PromptScope();
  PromptScope(const PromptScope&) = delete;
  PromptScope& operator=(const PromptScope&) = delete;

  // True while a scope is open on the calling thread: a call that arrives then came from outside the
  // prompt, through a window or a timer it could not hold.
  static bool open() noexcept;
  // Posts `message` to `window` at once when no scope is open on this thread, else once the last one has
  // closed: what must not happen inside a prompt (destroying the window the prompt belongs to) happens
  // right after it. The message may still arrive inside a later prompt; its handler asks open() again.
  static void postWhenClosed(HWND window, UINT message);

 private:
  std::vector<HWND> disabled_;
  std::vector<std::pair<HWND, UINT>> held_;  // the outermost scope's only
  PromptScope* outer_;
  static thread_local PromptScope* innermost_;
};

}  // namespace lumisk
