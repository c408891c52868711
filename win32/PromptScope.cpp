#include "win32/PromptScope.h"

namespace lumisk {
namespace {

struct Candidates {
  HWND keep;
  std::vector<HWND> found;
};

BOOL CALLBACK noteWindow(HWND window, LPARAM data) noexcept {
  auto& candidates = *reinterpret_cast<Candidates*>(data);
  if (window == candidates.keep || !IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
  try {
    candidates.found.push_back(window);
  } catch (...) {
    return FALSE;  // no memory: the windows noted so far are all this scope holds
  }
  return TRUE;
}

}  // namespace

thread_local PromptScope* PromptScope::innermost_ = nullptr;

PromptScope::PromptScope(HWND owner) noexcept : outer_(innermost_) {
  Candidates candidates{owner ? GetAncestor(owner, GA_ROOT) : nullptr, {}};
  EnumThreadWindows(GetCurrentThreadId(), &noteWindow, reinterpret_cast<LPARAM>(&candidates));
  disabled_ = std::move(candidates.found);
  for (HWND window : disabled_) EnableWindow(window, FALSE);
  innermost_ = this;
}

PromptScope::~PromptScope() {
  for (HWND window : disabled_)
    if (IsWindow(window)) EnableWindow(window, TRUE);
  innermost_ = outer_;
  if (outer_) return;
  for (const auto& [window, message] : held_) PostMessageW(window, message, 0, 0);
}

bool PromptScope::open() noexcept { return innermost_ != nullptr; }

void PromptScope::postWhenClosed(HWND window, UINT message) {
  PromptScope* outermost = innermost_;
  if (!outermost) {
    PostMessageW(window, message, 0, 0);
    return;
  }
  while (outermost->outer_) outermost = outermost->outer_;
  outermost->held_.emplace_back(window, message);
}

}  // namespace lumisk
