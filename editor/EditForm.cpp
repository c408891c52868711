// TEditForm: the window itself — class and lifetime, the message dispatch, creation and first show, the
// menu's commands, enabled states and hints, OK, Cancel, closing and destruction. The controls and their
// layout are in EditFormControls.cpp, the design list commands in EditFormDesignList.cpp, the value list
// in EditFormValueList.cpp.
#include "editor/EditForm.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "editor/ValueTables.h"
#include "win32/Cp932.h"
#include "win32/ExportGuard.h"
#include "win32/PromptScope.h"
#include "win32/Screen.h"
#include "win32/ThrowPoint.h"

namespace lumisk {
namespace {

// Posted by a close: the window is destroyed once the message that closed it has been handled, never
// from inside a handler of one of its own controls, nor inside a prompt.
constexpr UINT kReleaseMessage = WM_APP + 1;
// Posted by the keyboard hook when routing a key failed: the failure is told from the window's own
// procedure, outside the hook.
constexpr UINT kHookFailedMessage = WM_APP + 2;

constexpr const char* kCaption = "デザインの詳細編集";
constexpr const char* kDiscardQuestion = "編集結果を破棄してよろしいですか？";

// Enter and Esc reach the buttons the way they reach any dialog's.
static_assert(kCmdOk == IDOK && kCmdCancelButton == IDCANCEL);

}  // namespace

// ---- Class and lifetime -------------------------------------------------------------------------

void TEditForm::registerClass(HINSTANCE module) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  if (!WindowBase::registerClass(wc)) throw std::runtime_error("エディタのウィンドウクラスを登録できません。");
}

bool TEditForm::unregisterClass(HINSTANCE module) { return UnregisterClassW(kClassName, module) != 0; }

TEditForm::TEditForm(EditorContext context, std::unique_ptr<EditorPrompts> prompts, HINSTANCE module)
    : context_(std::move(context)), prompts_(std::move(prompts)), module_(module) {}

TEditForm::~TEditForm() {
  onDestroyed_ = nullptr;
  const HWND window = hwnd();
  if (window && IsWindow(window) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
    quiet_ = true;
    DestroyWindow(window);
  }
}

void TEditForm::create() {
  const std::wstring caption = toWide(kCaption);
  // No system menu and no boxes: the window is left through OK or Cancel only.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!createWindow(0, kClassName, caption.c_str(), style, 0, 0, kEditFormDesignWidth, kEditFormDesignHeight, nullptr,
                    module_)) {
    throw std::runtime_error(createError_.empty() ? std::string("エディタのウィンドウを作成できません。")
                                                  : createError_);
  }
}

void TEditForm::show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

// Nothing may fall into the host's message loop. A failed command is told to the person; a failure while
// painting is not (a message box there would only bring the next paint). A failed creation keeps its
// message for create() to throw.
LRESULT TEditForm::onFailure(UINT message, WPARAM, LPARAM, const char* text) noexcept {
  try {
    if (message == WM_CREATE) {
      createError_ = text;
    } else if (message == WM_COMMAND) {
      prompts_->showError(text);
    }
  } catch (...) {
  }
  return message == WM_CREATE ? -1 : 0;
}

LRESULT TEditForm::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  throwPoint("TEditForm.windowProc");
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    case WM_CLOSE:
      FormClose();
      return 0;
    case kReleaseMessage:
      release();
      return 0;
    case kHookFailedMessage:
      onHookFailed();
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
    case WM_GETMINMAXINFO:
      onMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_SIZE:
      relayout();
      FormResize();
      return 0;
    case WM_PAINT:
      paint();
      return 0;
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      // The design height; the first show sets the height that the font needs.
      if (item.CtlID == kIdValList) item.itemHeight = kIconSize;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID == kIdValList) ValListDrawItem(item);
      return TRUE;
    }
    case WM_MENUSELECT:
      onMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
      return 0;
    case WM_EXITMENULOOP:
      DisplayHint("");
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kCmdOk, DC_HASDEFID);
    case WM_ACTIVATE:
      onActivate(wParam);
      break;
    case WM_SETFOCUS:
      onSetFocus();
      return 0;
    default:
      break;
  }
  return defaultProc(message, wParam, lParam);
}

void TEditForm::release() {
  if (PromptScope::open()) PromptScope::postWhenClosed(hwnd(), kReleaseMessage);
  else DestroyWindow(hwnd());
}

void TEditForm::onGone() {
  hook_.reset();
  MainMenu.reset();
  accelerators_.reset();
  Images.reset();
  font_.reset();
  boldFont_.reset();
  if (auto callback = std::move(onDestroyed_)) callback(*this);
}

void TEditForm::onActivate(WPARAM state) {
  // A plain window does not keep the focus of its controls across activation as a dialog does.
  if (LOWORD(state) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
  }
}

void TEditForm::onSetFocus() {
  SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : rows_.list().hwnd());
}

void TEditForm::onHookFailed() {
  if (hook_ && hook_->failed()) prompts_->showError(hook_->failure().empty() ? kUnexpectedText : hook_->failure());
}

// ---- Creation and first show --------------------------------------------------------------------

void TEditForm::FormCreate() {
  createControls();
  prompts_->setOwner(EditorDialogOwner{hwnd(), ValList.hwnd(), Images.get()});

  TInitData& settings = context_.settings;
  // Only a position beyond the primary screen's right or bottom edge is reset; a window that merely
  // sticks out, or one at a negative position on a display to the left or above, stays where it was.
  if (GetSystemMetrics(SM_CXSCREEN) < settings.Left) settings.Left = 0;
  if (GetSystemMetrics(SM_CYSCREEN) < settings.Top) settings.Top = 0;
  // A window that no display shows (its display was removed) could not be moved back: it has no system
  // menu, and its caption is out of reach.
  const int width = std::max(settings.Width, kEditFormDesignWidth);
  const int height = std::max(settings.Height, kEditFormDesignHeight);
  const POINT place = onSomeDisplay(POINT{settings.Left, settings.Top}, SIZE{width, height});
  settings.Left = place.x;
  settings.Top = place.y;
  SetWindowPos(hwnd(), nullptr, settings.Left, settings.Top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  Header.setWidth(0, std::max(settings.Col0Width, kCol0MinWidth));
  Header.setWidth(1, std::max(settings.Col1Width, kCol1MinWidth));

  menu_.check(kCmdHelp, settings.HintHelp);
  showStatusBar(menu_.checked(kCmdHelp));

  firstShow_ = true;
  rows_.fill(context_.designs ? *context_.designs : DesignRows{});

  hook_ = std::make_unique<DialogMessageHook>(hwnd(), accelerators_.get(), kHookFailedMessage);
  created_ = true;
}

void TEditForm::FormShow() {
  if (!firstShow_) return;
  if (rows_.list().count() > 0) rows_.selectOnly(0);
  DesignListClick();
  ValList.setItemHeight(measureRowHeight());
  InvalidateRect(ValList.hwnd(), nullptr, TRUE);
  firstShow_ = false;
}

// ---- Menu, commands, enabled states and hints ---------------------------------------------------

void TEditForm::applyEnableRules() {
  const int designs = rows_.list().selCount();
  const int values = ValList.selCount();
  const int caret = ValList.caretIndex();
  const bool caretOnValue = caret >= 0 && caret < kRowCount && rowEntry(caret).kind != RowKind::Heading;
  for (const MenuSpec& menuEntry : editMenuBar()) {
    for (const MenuItemSpec& item : menuEntry.items) {
      switch (item.rule) {
        case EnableRule::Always: break;
        case EnableRule::AnyDesign: menu_.enable(item.command, designs >= 1); break;
        case EnableRule::OneDesign: menu_.enable(item.command, designs == 1); break;
        case EnableRule::ValueModify: menu_.enable(item.command, values == 1 && caretOnValue); break;
        case EnableRule::ValueClear: menu_.enable(item.command, values >= 1); break;
      }
    }
  }
}

bool TEditForm::commandEnabled(EditCommand command) const {
  return !findMenuItem(command) || menu_.enabled(command);
}

void TEditForm::onCommand(int id, int code, HWND control) {
  if (closing_) return;
  if (control && control == rows_.list().hwnd()) {
    if (code == LBN_SELCHANGE) DesignListClick();
    if (code == LBN_DBLCLK) mnRenameClick();
    return;
  }
  if (control && control == ValList.hwnd()) {
    if (code == LBN_SELCHANGE) ValListClick();
    if (code == LBN_DBLCLK) mnModifyClick();
    return;
  }
  // Buttons, menu clicks and shortcuts: a disabled item's shortcut does nothing.
  const auto command = static_cast<EditCommand>(id);
  if (!commandEnabled(command)) return;
  runCommand(command);
}

void TEditForm::runCommand(EditCommand command) {
  switch (command) {
    case kCmdOk: mnExitClick(); break;
    case kCmdCancelButton: btCamcelClick(); break;
    case kCmdImport: mnImportClick(); break;
    case kCmdExport: mnExportClick(); break;
    case kCmdHelp: mnHelpClick(); break;
    case kCmdExit: mnExitClick(); break;
    case kCmdCancel: mnCancelClick(); break;
    case kCmdRename: mnRenameClick(); break;
    case kCmdUpper: mnUpperClick(); break;
    case kCmdLower: mnLowerClick(); break;
    case kCmdDelete: mnDeleteClick(); break;
    case kCmdAdd: mnAddClick(); break;
    case kCmdPad: mnPadClick(); break;
    case kCmdModify: mnModifyClick(); break;
    case kCmdClear: mnClearClick(); break;
    case kCmdFocusDesignList: SetFocus(rows_.list().hwnd()); break;
    default: break;
  }
}

void TEditForm::onMenuSelect(UINT item, UINT flags, HMENU menu) {
  if (flags == 0xFFFF && !menu) {
    DisplayHint("");  // the menu closed
    return;
  }
  if (flags & (MF_POPUP | MF_SEPARATOR)) {
    DisplayHint("");
    return;
  }
  const MenuItemSpec* menuEntry = findMenuItem(static_cast<EditCommand>(item));
  DisplayHint(menuEntry ? menuEntry->hint : std::string_view());
}

void TEditForm::DisplayHint(std::string_view hint) {
  if (!StatusBar.hwnd()) return;
  StatusBar.setSimpleText(toWide(hint).c_str());
}

void TEditForm::mnHelpClick() {
  const bool visible = !menu_.checked(kCmdHelp);
  menu_.check(kCmdHelp, visible);
  showStatusBar(visible);
}

// ---- OK, Cancel, closing, destruction -----------------------------------------------------------

void TEditForm::mnExitClick() {
  if (rows_.modified() && context_.designs) {
    // The rows keep their own records: the design list gets copies, and the two never share one.
    *context_.designs = rows_.rows();
  }
  FormClose();
}

void TEditForm::mnCancelClick() {
  if (rows_.modified() && !prompts_->confirm(kDiscardQuestion)) return;
  FormClose();
}

void TEditForm::btCamcelClick() {
  // Esc while a design is dragged ends the drag, not the window.
  if (drag_.dragging()) {
    drag_.cancelDrag();
    return;
  }
  mnCancelClick();
}

void TEditForm::FormClose() {
  // No close query: every close frees the window, without commit and without a question.
  if (closing_) return;
  closing_ = true;
  PostMessageW(hwnd(), kReleaseMessage, 0, 0);
}

void TEditForm::FormDestroy() {
  closing_ = true;
  if (drag_.dragging()) drag_.cancelDrag();
  hook_.reset();
  // The menu is detached so that it is released with its owner rather than with the window.
  SetMenu(hwnd(), nullptr);
  if (!created_) return;  // creation failed: no settings to store, the editor never opened
  TInitData& settings = context_.settings;
  RECT bounds{};
  GetWindowRect(hwnd(), &bounds);
  settings.Left = bounds.left;
  settings.Top = bounds.top;
  settings.Width = bounds.right - bounds.left;
  settings.Height = bounds.bottom - bounds.top;
  settings.Col0Width = Header.width(0);
  settings.Col1Width = Header.width(1);
  settings.HintHelp = menu_.checked(kCmdHelp);
  rows_.clear();
  if (context_.closed) context_.closed(quiet_);
}

}  // namespace lumisk
