#include "host/script/DialogWatcher.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "host/HostText.h"
#include "win32/Ui.h"

namespace lumisk::host {
namespace {

// A dialog that has been answered but is still there after this many ticks did not take the answer
// (the open-file dialog keeps itself open for a file that does not exist): it is answered anew.
constexpr unsigned long kRetryTicks = 30;

std::wstring classOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  const std::set<HWND>* waiting;
  std::map<HWND, unsigned long>* answered;
  unsigned long now;
  std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (classOf(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window) &&
      !search->waiting->contains(window)) {
    const auto done = search->answered->find(window);
    if (done == search->answered->end() || search->now - done->second > kRetryTicks) search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK collectChild(HWND child, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
  return TRUE;
}

bool isFileDialog(HWND dialog) {
  return GetDlgItem(dialog, cmb1) && (GetDlgItem(dialog, cmb13) || GetDlgItem(dialog, edt1));
}

// The field into which a person types: the file name of the open-file dialog, else the first edit field.
HWND typingField(HWND dialog, bool fileDialog) {
  if (fileDialog) {
    if (HWND combo = GetDlgItem(dialog, cmb13)) {
      if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
      return combo;
    }
    return GetDlgItem(dialog, edt1);
  }
  std::vector<HWND> children;
  EnumChildWindows(dialog, &collectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children)
    if (GetParent(child) == dialog && classOf(child) == L"Edit" && IsWindowVisible(child)) return child;
  // A field that also offers a list to choose from: the edit part of a drop-down combo box.
  for (HWND child : children)
    if (GetParent(child) == dialog && classOf(child) == L"ComboBox" && IsWindowVisible(child))
      if (HWND edit = FindWindowExW(child, nullptr, L"Edit", nullptr)) return edit;
  return nullptr;
}

void pressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

thread_local DialogWatcher* DialogWatcher::active_ = nullptr;

DialogWatcher::DialogWatcher(Transcript& transcript) : transcript_(transcript), outer_(active_) {
  timer_ = SetTimer(nullptr, 0, kTickMs, &DialogWatcher::onTimer);
  if (!timer_) throw std::runtime_error("タイマーを作成できません。");
  active_ = this;
}

DialogWatcher::~DialogWatcher() {
  KillTimer(nullptr, timer_);
  active_ = outer_;
}

void DialogWatcher::whileOpen(std::function<void()> action) {
  if (answers_.empty()) throw std::runtime_error("while-open needs an answer queued before it");
  answers_.back().whileOpen = std::move(action);
}

std::size_t DialogWatcher::dropUnused() {
  const std::size_t n = answers_.size();
  answers_.clear();
  return n;
}

int DialogWatcher::takeUnexpected() {
  const int n = unexpected_;
  unexpected_ = 0;
  return n;
}

void CALLBACK DialogWatcher::onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept {
  try {
    if (active_) active_->tick();
  } catch (...) {
    // The next tick tries again; a timer procedure must never unwind into the message loop.
  }
}

void DialogWatcher::tick() {
  if (busy_) return;
  busy_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{busy_};

  ++ticks_;
  Search search{&waiting_, &answered_, ticks_, {}};
  EnumThreadWindows(GetCurrentThreadId(), &collectDialog, reinterpret_cast<LPARAM>(&search));
  std::map<HWND, unsigned long> stillSeen;
  for (HWND dialog : search.found) {
    const auto seen = firstSeen_.find(dialog);
    if (seen == firstSeen_.end()) {
      stillSeen[dialog] = ticks_;
    } else if (ticks_ > seen->second) {
      handle(dialog);
    } else {
      stillSeen.insert(*seen);
    }
  }
  firstSeen_ = std::move(stillSeen);
  std::erase_if(answered_, [](const auto& entry) { return !IsWindow(entry.first); });
}

void DialogWatcher::handle(HWND dialog) {
  answered_[dialog] = ticks_;
  const bool fileDialog = isFileDialog(dialog);
  record(dialog, fileDialog);
  if (answers_.empty()) {
    ++unexpected_;
    transcript_.line("    answer: none queued, closed");
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  const DialogAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.whileOpen) {
    // Ticks go on meanwhile, so that the dialogs the action opens are answered; this one waits.
    waiting_.insert(dialog);
    busy_ = false;
    struct Resume {
      DialogWatcher& watcher;
      HWND dialog;
      ~Resume() {
        watcher.busy_ = true;
        watcher.waiting_.erase(dialog);
        watcher.answered_[dialog] = watcher.ticks_;
      }
    } resume{*this, dialog};
    answer.whileOpen();
  }
  perform(dialog, answer, fileDialog);
}

void DialogWatcher::record(HWND dialog, bool fileDialog) {
  transcript_.line(std::string(fileDialog ? "  file dialog " : "  dialog ") + transcript_.quoted(cp932OrMark(windowText(dialog))));
  if (fileDialog) {
    wchar_t folder[MAX_PATH * 4] = {};
    const LRESULT n = SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH * 4, reinterpret_cast<LPARAM>(folder));
    transcript_.line("    folder " + transcript_.quoted(n > 0 ? cp932OrMark(folder) : std::string()));
    const HWND types = GetDlgItem(dialog, cmb1);
    const LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
    const LRESULT chosen = SendMessageW(types, CB_GETCURSEL, 0, 0);
    std::string line = "    types";
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
      std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
      SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
      line += (i == chosen ? " *" : " ") + transcript_.quoted(cp932OrMark(text));
    }
    transcript_.line(line);
    return;
  }
  std::vector<HWND> children;
  EnumChildWindows(dialog, &collectChild, reinterpret_cast<LPARAM>(&children));
  std::string buttons;
  for (HWND child : children) {
    if (GetParent(child) != dialog || !IsWindowVisible(child)) continue;
    const std::wstring kind = classOf(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (kind == L"Static" && (style & SS_TYPEMASK) != SS_ICON) {
      const std::wstring text = windowText(child);
      if (!text.empty()) transcript_.line("    text " + transcript_.quoted(cp932OrMark(text)));
    } else if (kind == L"Edit") {
      transcript_.line("    edit " + transcript_.quoted(cp932OrMark(windowText(child))));
    } else if (kind == L"ComboBox") {
      transcript_.line("    combo " + transcript_.quoted(cp932OrMark(windowText(child))));
    } else if (kind == L"Button") {
      buttons += " " + transcript_.quoted(cp932OrMark(windowText(child)));
    }
  }
  if (!buttons.empty()) transcript_.line("    buttons" + buttons);
}

void DialogWatcher::perform(HWND dialog, const DialogAnswer& answer, bool fileDialog) {
  switch (answer.kind) {
    case DialogAnswer::Kind::Ok:
      transcript_.line("    answer: OK");
      pressButton(dialog, IDOK);
      break;
    case DialogAnswer::Kind::Cancel:
      transcript_.line("    answer: cancel");
      pressButton(dialog, IDCANCEL);
      break;
    case DialogAnswer::Kind::Close:
      transcript_.line("    answer: close box");
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case DialogAnswer::Kind::Text: {
      const HWND field = typingField(dialog, fileDialog);
      transcript_.line("    answer: type " + transcript_.quoted(cp932OrMark(answer.text)) + (field ? ", OK" : " (no edit field), OK"));
      if (field) SetWindowTextW(field, answer.text.c_str());
      pressButton(dialog, IDOK);
      break;
    }
  }
}

}  // namespace lumisk::host
