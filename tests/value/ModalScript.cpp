#include "tests/value/ModalScript.h"

#include "win32/Cp932.h"

namespace lumisk::testing {
namespace {

constexpr UINT kTickMs = 20;
constexpr int kGiveUpTicks = 8000 / kTickMs;

struct Search {
  const ModalScript::Match* match;
  HWND found;
};

BOOL CALLBACK findWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && (*search->match)(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK cancelDialog(HWND hwnd, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(hwnd, className, 16);
  if (std::wstring(className) == L"#32770" && IsWindowEnabled(hwnd)) PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

}  // namespace

ModalScript* ModalScript::active_ = nullptr;

ModalScript::ModalScript() {
  active_ = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, tick);
}

ModalScript::~ModalScript() {
  KillTimer(nullptr, timer_);
  active_ = nullptr;
}

ModalScript& ModalScript::then(Match match, Action action) {
  steps_.push_back(Step{std::move(match), std::move(action)});
  return *this;
}

ModalScript::Match ModalScript::captioned(const std::string& caption) {
  return [wanted = toWide(caption)](HWND hwnd) { return textOf(hwnd) == wanted; };
}

ModalScript::Match ModalScript::holding(int controlId) {
  return [controlId](HWND hwnd) { return GetDlgItem(hwnd, controlId) != nullptr; };
}

void CALLBACK ModalScript::tick(HWND, UINT, UINT_PTR, DWORD) {
  if (active_) active_->onTick();
}

void ModalScript::onTick() {
  if (steps_.empty()) return;
  Search search{&steps_.front().match, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), findWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    if (++idleTicks_ > kGiveUpTicks) {
      timedOut_ = true;
      steps_.clear();
      EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
    }
    return;
  }
  idleTicks_ = 0;
  // Taken off the queue first: the action may open a nested modal loop that needs the next step.
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step.action(search.found);
}

RECT childRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring textOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

void click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace lumisk::testing
