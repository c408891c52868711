#include "host/script/DialogDriver.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <stdexcept>

#include "win32/Ui.h"

namespace lumisk::host {
namespace {

// A dialog that was taken but is still there after this many ticks did not end with its step: the next
// step takes it.
constexpr unsigned long kRetryTicks = 30;
// A dialog that never becomes active is taken all the same after this many ticks.
constexpr unsigned long kActivationTicks = 1000 / DialogDriver::kTickMs;

bool hasClass(HWND window, const wchar_t* name) {
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  return lstrcmpiW(className, name) == 0;
}

struct Search {
  const std::set<HWND>* waiting;
  const std::map<HWND, unsigned long>* answered;
  unsigned long now;
  std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (hasClass(window, L"#32770") && IsWindowVisible(window) && IsWindowEnabled(window) &&
      !search->waiting->contains(window)) {
    const auto done = search->answered->find(window);
    if (done == search->answered->end() || search->now - done->second > kRetryTicks) search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
  if (hasClass(window, L"#32770") && IsWindowEnabled(window)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

BOOL CALLBACK collectControl(HWND child, LPARAM data) {
  auto* snapshot = reinterpret_cast<DialogSnapshot*>(data);
  if (GetParent(child) != snapshot->window) return TRUE;  // the controls of the dialog itself only
  using Kind = DialogSnapshot::Kind;
  DialogSnapshot::Control control{child, GetDlgCtrlID(child), Kind::Other, windowText(child),
                                  IsWindowVisible(child) != FALSE};
  if (hasClass(child, L"Static")) {
    const bool picture = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    control.kind = picture ? Kind::Picture : Kind::Text;
    if (picture) snapshot->icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  } else if (hasClass(child, L"Button")) {
    control.kind = Kind::Button;
  } else if (hasClass(child, L"Edit")) {
    control.kind = Kind::Edit;
  } else if (hasClass(child, L"ComboBox")) {
    control.kind = Kind::ComboBox;
  }
  snapshot->controls.push_back(std::move(control));
  return TRUE;
}

void postKey(UINT key) {
  const HWND focus = GetFocus();
  if (!focus) return;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

std::vector<std::wstring> DialogSnapshot::texts() const {
  std::vector<std::wstring> found;
  for (const Control& control : controls)
    if (control.kind == Kind::Text) found.push_back(control.text);
  return found;
}

std::vector<DialogSnapshot::Control> DialogSnapshot::buttons() const {
  std::vector<Control> found;
  std::copy_if(controls.begin(), controls.end(), std::back_inserter(found),
               [](const Control& control) { return control.kind == Kind::Button; });
  return found;
}

thread_local DialogDriver* DialogDriver::active_ = nullptr;

DialogDriver::DialogDriver() : DialogDriver(Rules{}) {}

DialogDriver::DialogDriver(Rules rules) : rules_(std::move(rules)), outer_(active_) {
  if (!rules_.unexpected) rules_.unexpected = press(IDCANCEL);
  timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::onTimer);
  if (!timer_) throw std::runtime_error("タイマーを作成できません。");
  active_ = this;
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, timer_);
  active_ = outer_;
}

DialogDriver& DialogDriver::then(Action action) { return then(Match(), std::move(action)); }

DialogDriver& DialogDriver::then(Match match, Action action) {
  steps_.push_back(Step{std::move(match), std::move(action)});
  return *this;
}

DialogDriver& DialogDriver::then(Match match, std::function<void(HWND)> action) {
  return then(std::move(match), [action = std::move(action)](const DialogSnapshot& dialog) { action(dialog.window); });
}

std::size_t DialogDriver::dropSteps() {
  const std::size_t n = steps_.size();
  steps_.clear();
  return n;
}

int DialogDriver::takeUnexpected() {
  const int n = unexpected_;
  unexpected_ = 0;
  return n;
}

DialogDriver::Match DialogDriver::captioned(std::wstring caption) {
  return [caption = std::move(caption)](const DialogSnapshot& dialog) { return dialog.caption == caption; };
}

DialogDriver::Match DialogDriver::holding(int controlId) {
  return [controlId](const DialogSnapshot& dialog) { return GetDlgItem(dialog.window, controlId) != nullptr; };
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

DialogDriver::Action DialogDriver::submit(std::wstring text) {
  return [text = std::move(text)](const DialogSnapshot& dialog) {
    if (const HWND field = typingField(dialog)) SetWindowTextW(field, text.c_str());
    press(IDOK)(dialog);
  };
}

void CALLBACK DialogDriver::onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
  try {
    if (active_) active_->tick();
  } catch (...) {
    // The next tick tries again; a timer procedure must never unwind into the message loop. A step
    // that failed is seen through what it did not do.
  }
}

void DialogDriver::tick() {
  if (busy_) return;
  busy_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{busy_};

  ++ticks_;
  if (gaveUp_) {
    EnumThreadWindows(GetCurrentThreadId(), &cancelDialog, 0);
    return;
  }
  Search search{&waiting_, &answered_, ticks_, {}};
  EnumThreadWindows(GetCurrentThreadId(), &collectDialog, reinterpret_cast<LPARAM>(&search));
  idleTicks_ = search.found.empty() ? idleTicks_ + 1 : 0;
  if (rules_.giveUpMs > 0 && idleTicks_ > static_cast<unsigned long>(rules_.giveUpMs) / kTickMs) {
    // A step's dialog never came, or a dialog never ended.
    gaveUp_ = true;
    EnumThreadWindows(GetCurrentThreadId(), &cancelDialog, 0);
    return;
  }
  std::map<HWND, unsigned long> stillSeen;
  for (HWND dialog : search.found) {
    const auto seen = firstSeen_.find(dialog);
    if (seen == firstSeen_.end()) {
      stillSeen[dialog] = ticks_;
    } else if (settled(dialog, seen->second)) {
      handle(dialog);
    } else {
      stillSeen.insert(*seen);
    }
  }
  firstSeen_ = std::move(stillSeen);
  std::erase_if(answered_, [](const auto& entry) { return !IsWindow(entry.first); });
}

bool DialogDriver::settled(HWND dialog, unsigned long firstSeen) const {
  if (ticks_ <= firstSeen) return false;
  return !rules_.waitForActive || GetActiveWindow() == dialog || ticks_ - firstSeen >= kActivationTicks;
}

void DialogDriver::handle(HWND dialog) {
  answered_[dialog] = ticks_;
  seen_.push_back(snapshotOf(dialog));
  // A copy: seen_ may grow while the step runs.
  const DialogSnapshot snapshot = seen_.back();
  if (steps_.empty() || (steps_.front().match && !steps_.front().match(snapshot))) {
    ++unexpected_;
    rules_.unexpected(snapshot);
    return;
  }
  // Off the queue before it runs: what it opens is for the steps after it.
  const Step step = std::move(steps_.front());
  steps_.pop_front();
  // Ticks go on meanwhile, so that the dialogs the step opens are taken; this one waits.
  waiting_.insert(dialog);
  busy_ = false;
  struct Resume {
    DialogDriver& driver;
    HWND dialog;
    ~Resume() {
      driver.busy_ = true;
      driver.waiting_.erase(dialog);
      driver.answered_[dialog] = driver.ticks_;
    }
  } resume{*this, dialog};
  step.action(snapshot);
}

DialogSnapshot snapshotOf(HWND dialog) {
  DialogSnapshot snapshot;
  snapshot.window = dialog;
  snapshot.caption = windowText(dialog);
  snapshot.fileDialog = GetDlgItem(dialog, cmb1) && (GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1));
  EnumChildWindows(dialog, &collectControl, reinterpret_cast<LPARAM>(&snapshot));
  return snapshot;
}

HWND typingField(const DialogSnapshot& dialog) {
  using Kind = DialogSnapshot::Kind;
  if (dialog.fileDialog) {
    // The name field is an edit inside a combo box, which may itself sit inside a ComboBoxEx.
    HWND field = GetDlgItem(dialog.window, cmb13);
    if (!field) return GetDlgItem(dialog.window, edt1);
    for (const wchar_t* inner : {L"ComboBox", L"Edit"})
      if (const HWND child = FindWindowExW(field, nullptr, inner, nullptr)) field = child;
    return field;
  }
  for (const auto& control : dialog.controls)
    if (control.kind == Kind::Edit && control.visible) return control.window;
  // A field that also offers a list to choose from: the edit part of a drop-down combo box.
  for (const auto& control : dialog.controls)
    if (control.kind == Kind::ComboBox && control.visible)
      if (const HWND edit = FindWindowExW(control.window, nullptr, L"Edit", nullptr)) return edit;
  return nullptr;
}

std::vector<std::wstring> listTexts(HWND comboBox) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = std::max<LRESULT>(SendMessageW(comboBox, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0), 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(comboBox, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    items.push_back(std::move(text));
  }
  return items;
}

std::wstring folderOf(HWND fileDialog) {
  wchar_t folder[MAX_PATH * 4] = {};
  const LRESULT n = SendMessageW(fileDialog, CDM_GETFOLDERPATH, MAX_PATH * 4, reinterpret_cast<LPARAM>(folder));
  return n > 0 ? folder : L"";
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

void click(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace lumisk::host
