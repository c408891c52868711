// TEditForm: class and lifetime, the message dispatch, creation and first show, the layout, the enabled
// states and hints, OK, Cancel, closing and destruction.
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
      if (hook_ && hook_->failed()) prompts_->showError(hook_->failure().empty() ? kUnexpectedText : hook_->failure());
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
    case WM_GETMINMAXINFO: {
      auto& info = *reinterpret_cast<MINMAXINFO*>(lParam);
      info.ptMinTrackSize.x = kEditFormDesignWidth;
      info.ptMinTrackSize.y = kEditFormDesignHeight;
      return 0;
    }
    case WM_SIZE:
      relayout();
      FormResize();
      return 0;
    case WM_PAINT: {
      const PaintScope paint(hwnd());
      if (paint.dc()) parts_.paint(paint.dc(), layout_);
      return 0;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return values_.HeaderNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      // The design height; the first show sets the height that the font needs.
      if (item.CtlID == kIdValList) item.itemHeight = kIconSize;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID == kIdValList) values_.ValListDrawItem(item);
      return TRUE;
    }
    case WM_MENUSELECT: {
      // A popup, a separator, or the menu closing (0xFFFF) has no hint.
      const MenuItemSpec* entry =
          HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR) ? nullptr : findMenuItem(static_cast<EditCommand>(LOWORD(wParam)));
      DisplayHint(entry ? entry->hint : std::string_view());
      return 0;
    }
    case WM_EXITMENULOOP:
      DisplayHint("");
      return 0;
    case DM_GETDEFID:
      return MAKELRESULT(kCmdOk, DC_HASDEFID);
    case WM_ACTIVATE:
      focus_.onActivate(hwnd(), wParam);
      break;
    case WM_SETFOCUS:
      focus_.onSetFocus(parts_.DesignList.hwnd());
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
  parts_.release();
  if (auto callback = std::move(onDestroyed_)) callback(*this);
}

// ---- Creation and first show --------------------------------------------------------------------

void TEditForm::FormCreate() {
  parts_.create(hwnd(), module_);
  rows_.attach(parts_.DesignList);
  drag_.attach();
  prompts_->setOwner(EditorDialogOwner{hwnd(), parts_.ValList.hwnd(), parts_.Images.get()});

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

  parts_.Header.setWidth(0, std::max(settings.Col0Width, kCol0MinWidth));
  parts_.Header.setWidth(1, std::max(settings.Col1Width, kCol1MinWidth));

  parts_.menu.check(kCmdHelp, settings.HintHelp);
  showStatusBar(parts_.menu.checked(kCmdHelp));

  firstShow_ = true;
  rows_.fill(context_.designs ? *context_.designs : DesignRows{});

  hook_ = std::make_unique<DialogMessageHook>(hwnd(), parts_.accelerators.get(), kHookFailedMessage);
  created_ = true;
}

void TEditForm::FormShow() {
  if (!firstShow_) return;
  if (rows_.list().count() > 0) rows_.selectOnly(0);
  DesignListClick();
  parts_.ValList.setItemHeight(parts_.measureRowHeight());
  values_.repaint();
  firstShow_ = false;
}

// ---- Layout -------------------------------------------------------------------------------------

void TEditForm::relayout() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  layout_ = computeEditLayout(client.right, client.bottom, parts_.menu.checked(kCmdHelp));
  struct Placement {
    HWND hwnd;
    LayoutRect rect;
  };
  const Placement placements[] = {
      {parts_.DesignList.hwnd(), layout_.designList}, {parts_.Header.hwnd(), layout_.header},
      {parts_.ValList.hwnd(), layout_.valList},       {parts_.StatusBar.hwnd(), layout_.statusBar},
      {parts_.btOK.hwnd(), layout_.btOK},             {parts_.btCamcel.hwnd(), layout_.btCamcel},
  };
  HDWP defer = BeginDeferWindowPos(static_cast<int>(std::size(placements)));
  for (const Placement& p : placements) {
    if (!p.hwnd) continue;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (defer) {
      defer = DeferWindowPos(defer, p.hwnd, nullptr, p.rect.left, p.rect.top, p.rect.width(), p.rect.height(), flags);
    } else {
      SetWindowPos(p.hwnd, nullptr, p.rect.left, p.rect.top, p.rect.width(), p.rect.height(), flags);
    }
  }
  if (defer) EndDeferWindowPos(defer);
  // Bevels and labels are painted by the window itself and move with the layout; the status bar and the
  // buttons do not all repaint themselves in full when they are moved or stretched.
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TEditForm::showStatusBar(bool visible) {
  ShowWindow(parts_.StatusBar.hwnd(), visible ? SW_SHOW : SW_HIDE);
  relayout();
}

void TEditForm::FormResize() { values_.repaint(); }

// ---- Selections, commands, enabled states and hints ---------------------------------------------

void TEditForm::DesignListClick() {
  applyEnableRules();
  values_.repaint();
}

void TEditForm::ValListClick() { applyEnableRules(); }

void TEditForm::applyEnableRules() {
  const controls::MenuBar& menu = parts_.menu;
  const int designs = rows_.list().selCount();
  const int values = parts_.ValList.selCount();
  const int caret = parts_.ValList.caretIndex();
  const bool caretOnValue = caret >= 0 && caret < kRowCount && rowEntry(caret).kind != RowKind::Heading;
  for (const MenuSpec& menuEntry : editMenuBar()) {
    for (const MenuItemSpec& item : menuEntry.items) {
      switch (item.rule) {
        case EnableRule::Always: break;
        case EnableRule::AnyDesign: menu.enable(item.command, designs >= 1); break;
        case EnableRule::OneDesign: menu.enable(item.command, designs == 1); break;
        case EnableRule::ValueModify: menu.enable(item.command, values == 1 && caretOnValue); break;
        case EnableRule::ValueClear: menu.enable(item.command, values >= 1); break;
      }
    }
  }
}

void TEditForm::onCommand(int id, int code, HWND control) {
  if (closing_) return;
  if (control && control == parts_.DesignList.hwnd()) {
    if (code == LBN_SELCHANGE) DesignListClick();
    if (code == LBN_DBLCLK) designs_.mnRenameClick();
    return;
  }
  if (control && control == parts_.ValList.hwnd()) {
    if (code == LBN_SELCHANGE) ValListClick();
    if (code == LBN_DBLCLK) values_.mnModifyClick();
    return;
  }
  // Buttons, menu clicks and shortcuts: a disabled item's shortcut does nothing.
  const auto command = static_cast<EditCommand>(id);
  if (findMenuItem(command) && !parts_.menu.enabled(command)) return;
  switch (command) {
    case kCmdOk: mnExitClick(); break;
    case kCmdCancelButton: btCamcelClick(); break;
    case kCmdImport: designs_.mnImportClick(); break;
    case kCmdExport: designs_.mnExportClick(); break;
    case kCmdHelp: mnHelpClick(); break;
    case kCmdExit: mnExitClick(); break;
    case kCmdCancel: mnCancelClick(); break;
    case kCmdRename: designs_.mnRenameClick(); break;
    case kCmdUpper: designs_.mnUpperClick(); break;
    case kCmdLower: designs_.mnLowerClick(); break;
    case kCmdDelete: designs_.mnDeleteClick(); break;
    case kCmdAdd: designs_.mnAddClick(); break;
    case kCmdPad: designs_.mnPadClick(); break;
    case kCmdModify: values_.mnModifyClick(); break;
    case kCmdClear: values_.mnClearClick(); break;
    case kCmdFocusDesignList: SetFocus(parts_.DesignList.hwnd()); break;
    default: break;
  }
}

void TEditForm::DisplayHint(std::string_view hint) {
  if (!parts_.StatusBar.hwnd()) return;
  parts_.StatusBar.setSimpleText(toWide(hint).c_str());
}

void TEditForm::mnHelpClick() {
  const bool visible = !parts_.menu.checked(kCmdHelp);
  parts_.menu.check(kCmdHelp, visible);
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
  settings.Col0Width = parts_.Header.width(0);
  settings.Col1Width = parts_.Header.width(1);
  settings.HintHelp = parts_.menu.checked(kCmdHelp);
  rows_.clear();
  if (context_.closed) context_.closed(quiet_);
}

}  // namespace lumisk
