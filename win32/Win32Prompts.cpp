#include "win32/Win32Prompts.h"

#include <cderr.h>

#include <exception>
#include <stdexcept>

#include "win32/Cp932.h"
#include "win32/DialogBase.h"
#include "win32/DialogTemplate.h"
#include "win32/FileDialogs.h"
#include "win32/MessageBoxes.h"
#include "win32/PromptScope.h"
#include "win32/Screen.h"
#include "win32/ThrowPoint.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

constexpr const char* kConfirmCaption = "確認";
constexpr const char* kOkLabel = "OK";
constexpr const char* kCancelLabel = "キャンセル";
constexpr const char* kNameCaption = "デザイン名の指定";
constexpr const char* kNameNotCp932 =
    "入力された名前には、シフトJIS(コードページ932)で表せない文字が含まれています。処理を中断します。";
constexpr const char* kFileTitle = "デザインファイルの指定";
constexpr const char* kFileFilter = "デザインファイル(*.dsg)|*.dsg|すべてのファイル(*.*)|*.*";
constexpr const char* kPathNotCp932 =
    "選択されたファイルのパスには、シフトJIS(コードページ932)で表せない文字が含まれているため、"
    "読み込めません。";
constexpr const char* kPathTooLong = "選択されたファイルのパスが長すぎます。";

// Gives the buttons of the next message box of this thread that bears `caption` the labels "OK" and
// "キャンセル": MessageBoxW labels them in the language of Windows. A thread-local CBT hook sees the
// box activated, with its buttons made, before it is drawn; it relabels them and removes itself.
class MessageBoxLabels {
 public:
  explicit MessageBoxLabels(const char* caption)
      : caption_(toWide(caption)), ok_(toWide(kOkLabel)), cancel_(toWide(kCancelLabel)), outer_(active_) {
    active_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &MessageBoxLabels::hookProc, nullptr, GetCurrentThreadId());
  }
  MessageBoxLabels(const MessageBoxLabels&) = delete;
  MessageBoxLabels& operator=(const MessageBoxLabels&) = delete;
  ~MessageBoxLabels() {
    unhook();
    active_ = outer_;
  }

 private:
  void unhook() noexcept {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
  }

  bool isTheBox(HWND window) const {
    wchar_t className[16] = {};
    if (!GetClassNameW(window, className, 16) || std::wstring_view(className) != L"#32770") return false;
    if (!GetDlgItem(window, IDOK) || !GetDlgItem(window, IDCANCEL)) return false;
    return windowText(window) == caption_;
  }

  static LRESULT CALLBACK hookProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    MessageBoxLabels* self = active_;
    const LRESULT next = CallNextHookEx(nullptr, code, wParam, lParam);
    try {
      throwPoint("MessageBoxLabels.hookProc");
      if (self && self->hook_ && code == HCBT_ACTIVATE) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (self->isTheBox(window)) {
          SetDlgItemTextW(window, IDOK, self->ok_.c_str());
          SetDlgItemTextW(window, IDCANCEL, self->cancel_.c_str());
          self->unhook();
        }
      }
    } catch (...) {
      // The box keeps the system's labels; the answer still comes through.
    }
    return next;
  }

  static thread_local MessageBoxLabels* active_;
  std::wstring caption_, ok_, cancel_;
  MessageBoxLabels* outer_;
  HHOOK hook_ = nullptr;
};

thread_local MessageBoxLabels* MessageBoxLabels::active_ = nullptr;

// The flags with which a static control of style SS_LEFT | SS_NOPREFIX draws its text.
constexpr UINT kLabelDrawFlags = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

// The layout holds one line of prompt. A longer prompt is wrapped onto as many lines as it needs, and
// everything below it and the box itself grow by as much, so that no word of it is cut off.
void fitPrompt(HWND dialog, const std::wstring& prompt) {
  const HWND label = GetDlgItem(dialog, Win32Prompts::kNamePromptId);
  RECT line{};
  GetClientRect(label, &line);
  RECT needed = line;
  const HDC dc = GetDC(label);
  if (!dc) return;
  const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  DrawTextW(dc, prompt.c_str(), static_cast<int>(prompt.size()), &needed, kLabelDrawFlags | DT_CALCRECT);
  SelectObject(dc, oldFont);
  ReleaseDC(label, dc);
  const int extra = needed.bottom - line.bottom;
  if (extra <= 0) return;

  SetWindowPos(label, nullptr, 0, 0, line.right, needed.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int id : {Win32Prompts::kNameEditId, IDOK, IDCANCEL}) {
    const HWND control = GetDlgItem(dialog, id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, r.left, r.top + extra, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT box{};
  GetWindowRect(dialog, &box);
  SetWindowPos(dialog, nullptr, 0, 0, box.right - box.left, box.bottom - box.top + extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The input box for one run: what it shows and what it answers.
class NameBox final : public DialogBase {
 public:
  NameBox(std::wstring prompt, std::wstring suggestion)
      : prompt_(std::move(prompt)), suggestion_(std::move(suggestion)) {}

  // The text as typed when the box ended with IDOK.
  const std::wstring& answer() const { return answer_; }
  // The box's first failure, carried out of the dialog for its caller to rethrow; null when none.
  std::exception_ptr failure() const { return failure_; }
  using DialogBase::runModal;

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM) override {
    throwPoint("Win32Prompts.nameBoxProc");
    switch (message) {
      case WM_INITDIALOG:
        return init();
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
          answer_ = windowText(GetDlgItem(hwnd(), Win32Prompts::kNameEditId));
          EndDialog(hwnd(), IDOK);
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {  // the button, Esc and the close box
          EndDialog(hwnd(), IDCANCEL);
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

  INT_PTR onFailure(UINT, const char*) noexcept override {
    if (!failure_) failure_ = std::current_exception();
    EndDialog(hwnd(), IDABORT);
    return TRUE;
  }

  INT_PTR init() {
    const HWND dialog = hwnd();
    SetDlgItemTextW(dialog, Win32Prompts::kNamePromptId, prompt_.c_str());
    const HWND edit = GetDlgItem(dialog, Win32Prompts::kNameEditId);
    SendMessageW(edit, EM_LIMITTEXT, Win32Prompts::kNameMaxChars, 0);
    SetWindowTextW(edit, suggestion_.c_str());
    fitPrompt(dialog, prompt_);
    centreOnPrimaryScreen(dialog);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return FALSE;  // the focus is set
  }

  std::wstring prompt_;
  std::wstring suggestion_;
  std::wstring answer_;
  std::exception_ptr failure_;
};

// In the foreground like the message boxes, so typing reaches the field at once.
DialogTemplate nameBoxTemplate() {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND, 180, 63, toWide(kNameCaption),
                   kUiFontPoints, toWide(kUiFontFace));
  t.add(DialogTemplate::kStatic, Win32Prompts::kNamePromptId, SS_LEFT | SS_NOPREFIX, 8, 8, 164, 10, L"");
  t.add(DialogTemplate::kEdit, Win32Prompts::kNameEditId, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 19, 164, 12, L"");
  t.add(DialogTemplate::kButton, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 38, 41, 50, 14, toWide(kOkLabel));
  t.add(DialogTemplate::kButton, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 92, 41, 50, 14, toWide(kCancelLabel));
  return t;
}

}  // namespace

HWND Win32Prompts::owner() const { return owner_ && IsWindow(owner_) ? owner_ : GetActiveWindow(); }

void Win32Prompts::inform(const std::string& text) { plainBox(owner(), text); }

void Win32Prompts::showError(const std::string& text) { errorBox(owner(), text); }

bool Win32Prompts::showing() const { return PromptScope::open(); }

bool Win32Prompts::confirm(const std::string& text) {
  MessageBoxLabels labels(kConfirmCaption);
  return messageBox(owner(), text, kConfirmCaption, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1) == IDOK;
}

std::optional<std::string> Win32Prompts::askName(const std::string& prompt, const std::string& suggestion) {
  NameBox box(toWide(prompt), toWide(suggestion));
  const DialogTemplate layout = nameBoxTemplate();
  const INT_PTR result = box.runModal(module_, layout.get(), owner());
  // Carried out of the dialog and rethrown here.
  if (box.failure()) std::rethrow_exception(box.failure());
  if (result == -1 || result == 0) throw std::runtime_error("入力ボックスを表示できません。");
  if (result != IDOK) return std::nullopt;
  auto name = toCp932(box.answer());
  if (!name) inform(kNameNotCp932);
  return name;
}

std::optional<std::string> Win32Prompts::chooseDesignFile(const std::string& initialFolder) {
  FileDialogRequest request;
  request.title = kFileTitle;
  request.filter = kFileFilter;
  request.defaultExtension = "dsg";
  request.initialFolder = initialFolder;
  request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
  const FileDialogAnswer answer = showOpenFileDialog(owner(), request);
  if (answer.pathNotCp932) inform(kPathNotCp932);
  if (answer.failure == FNERR_BUFFERTOOSMALL) {
    inform(kPathTooLong);
  } else if (answer.failure != 0) {
    throw std::runtime_error("ファイルを選ぶダイアログを表示できません。(エラー " + std::to_string(answer.failure) +
                             ")");
  }
  return answer.path;
}

}  // namespace lumisk
