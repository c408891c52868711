#include "tests/win32/DialogDriver.h"

#include <dlgs.h>

namespace lumisk::testing {
namespace {

constexpr UINT kTickMs = 20;
constexpr int kGiveUpTicks = 6000 / kTickMs;
// A person answers a box once it has come up and taken the keyboard; one that never becomes active is
// answered all the same after this long.
constexpr int kActivationTicks = 1000 / kTickMs;

bool hasClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  return lstrcmpiW(className, name) == 0;
}

struct Candidates {
  const std::set<HWND>* handled;
  HWND found = nullptr;
};

// The innermost modal dialog is the one still enabled: its owner is disabled while it runs.
BOOL CALLBACK findDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Candidates*>(data);
  if (hasClass(window, L"#32770") && IsWindowVisible(window) && IsWindowEnabled(window) &&
      !search->handled->contains(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
  if (hasClass(window, L"#32770") && IsWindowEnabled(window)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

BOOL CALLBACK collectChild(HWND child, LPARAM data) {
  auto* snapshot = reinterpret_cast<DialogSnapshot*>(data);
  if (GetParent(child) != snapshot->window) return TRUE;  // the controls of the dialog itself only
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  if (hasClass(child, L"Static")) {
    if ((style & SS_TYPEMASK) == SS_ICON)
      snapshot->icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    else
      snapshot->texts.push_back(textOf(child));
  } else if (hasClass(child, L"Button")) {
    snapshot->buttons.push_back({GetDlgCtrlID(child), textOf(child), child, IsWindowVisible(child) != FALSE});
  } else if (hasClass(child, L"Edit")) {
    snapshot->edits.push_back(child);
  }
  return TRUE;
}

void postKey(UINT key) {
  const HWND focus = GetFocus();
  if (!focus) return;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

const DialogSnapshot::Button* DialogSnapshot::button(int id) const {
  for (const auto& b : buttons)
    if (b.id == id) return &b;
  return nullptr;
}

thread_local DialogDriver* DialogDriver::active_ = nullptr;

DialogDriver::DialogDriver() : outer_(active_) {
  active_ = this;
  timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::tick);
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, timer_);
  active_ = outer_;
}

DialogDriver& DialogDriver::then(Action action) {
  steps_.push_back(std::move(action));
  return *this;
}

DialogDriver::Action DialogDriver::press(int id) {
  return [id](const DialogSnapshot& dialog) {
    PostMessageW(dialog.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.window, id)));
  };
}

DialogDriver::Action DialogDriver::pressEscape() {
  return [](const DialogSnapshot&) { postKey(VK_ESCAPE); };
}

DialogDriver::Action DialogDriver::pressEnter() {
  return [](const DialogSnapshot&) { postKey(VK_RETURN); };
}

DialogDriver::Action DialogDriver::closeBox() {
  return [](const DialogSnapshot& dialog) { PostMessageW(dialog.window, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

DialogDriver::Action DialogDriver::type(std::wstring text, Action then) {
  return [text = std::move(text), then = std::move(then)](const DialogSnapshot& dialog) {
    typeInto(GetFocus(), text);
    then(dialog);
  };
}

DialogDriver::Action DialogDriver::chooseFile(std::wstring name) {
  return [name = std::move(name)](const DialogSnapshot& dialog) {
    // The name field is an edit inside a combo box inside the field's ComboBoxEx.
    HWND field = GetDlgItem(dialog.window, cmb13);
    for (const wchar_t* inner : {L"ComboBox", L"Edit"})
      if (const HWND child = FindWindowExW(field, nullptr, inner, nullptr)) field = child;
    SetWindowTextW(field, name.c_str());
    press(IDOK)(dialog);
  };
}

void CALLBACK DialogDriver::tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
  try {
    if (active_) active_->onTick();
  } catch (...) {
    // A failing action is seen by the test through what it did not do.
  }
}

HWND DialogDriver::nextDialog() {
  for (auto it = handled_.begin(); it != handled_.end();) it = IsWindow(*it) ? std::next(it) : handled_.erase(it);
  Candidates search{&handled_};
  EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void DialogDriver::onTick() {
  if (timedOut_) {
    EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
    return;
  }
  const HWND dialog = nextDialog();
  if (!dialog) {
    // Waiting for a step's dialog, or for a handled one that its action did not end.
    if (++idleTicks_ > kGiveUpTicks) {
      timedOut_ = true;
      EnumThreadWindows(GetCurrentThreadId(), cancelDialog, 0);
    }
    return;
  }
  if (GetActiveWindow() != dialog && ++waitingTicks_ <= kActivationTicks) return;
  waitingTicks_ = 0;
  idleTicks_ = 0;
  handled_.insert(dialog);
  seen_.push_back(snapshotOf(dialog));
  if (steps_.empty()) {
    ++unexpected_;
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  // Off the queue before it runs: the action may open a nested modal loop that needs the next step, and
  // that step's dialog is seen after this one (a copy, since seen_ may grow meanwhile).
  Action action = std::move(steps_.front());
  steps_.pop_front();
  const DialogSnapshot snapshot = seen_.back();
  action(snapshot);
}

DialogSnapshot snapshotOf(HWND dialog) {
  DialogSnapshot snapshot;
  snapshot.window = dialog;
  snapshot.caption = textOf(dialog);
  EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&snapshot));
  return snapshot;
}

std::wstring textOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

RECT childRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void typeInto(HWND edit, std::wstring_view text) {
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

}  // namespace lumisk::testing
