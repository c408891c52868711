// TEditForm: the window itself — creation, layout, menu, first show, hint display, OK, Cancel, closing
// and destruction. The design list commands are in EditFormDesignList.cpp, the value list in
// EditFormValueList.cpp.
#include "editor/EditForm.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "editor/IconImages.h"
#include "plugin/PlugFunc.h"
#include "win32/Cp932.h"
#include "win32/ExportGuard.h"
#include "win32/ThrowPoint.h"

namespace lumisk {
namespace {

// Posted by a close: the window is destroyed once the message that closed it has been handled, never
// from inside a handler of one of its own controls.
constexpr UINT kReleaseMessage = WM_APP + 1;
// Posted by the keyboard hook when routing a key failed: the failure is told from the window's own
// procedure, outside the hook.
constexpr UINT kHookFailedMessage = WM_APP + 2;

constexpr const char* kCaption = "デザインの詳細編集";
constexpr const char* kFontFace = "ＭＳ Ｐゴシック";
constexpr int kFontHeight = 12;
constexpr const char* kDesignLabel = "デザイン一覧(&S):";
constexpr const char* kValueLabel = "設定値一覧(&T):";
constexpr const char* kDiscardQuestion = "編集結果を破棄してよろしいですか？";

RECT toRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

FontHandle createFont(int weight) {
  const std::wstring face = toWide(kFontFace);
  return FontHandle(CreateFontW(-kFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

// One-pixel bevel ring along the inside of `r`.
void drawBevelRing(HDC dc, const RECT& r, int topLeftColour, int bottomRightColour) {
  const HBRUSH light = GetSysColorBrush(topLeftColour);
  const HBRUSH dark = GetSysColorBrush(bottomRightColour);
  RECT edge{r.left, r.top, r.right, r.top + 1};
  FillRect(dc, &edge, light);
  edge = RECT{r.left, r.top, r.left + 1, r.bottom};
  FillRect(dc, &edge, light);
  edge = RECT{r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &edge, dark);
  edge = RECT{r.right - 1, r.top, r.right, r.bottom};
  FillRect(dc, &edge, dark);
}

}  // namespace

// ---- Class and lifetime -------------------------------------------------------------------------

void TEditForm::registerClass(HINSTANCE module) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(module, kClassName, &wc)) {
    if (wc.lpfnWndProc == &TEditForm::windowProc) return;
    // Left by an earlier load of the library at another address: its procedure is gone.
    UnregisterClassW(kClassName, module);
  }
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &TEditForm::windowProc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("エディタのウィンドウクラスを登録できません。");
}

bool TEditForm::unregisterClass(HINSTANCE module) { return UnregisterClassW(kClassName, module) != 0; }

TEditForm::TEditForm(PlugFunc& plug, HINSTANCE module, EditFormServices services)
    : plug_(plug), module_(module), SaveDialog(std::move(services.saveDialog)), valueDialogs_(services.valueDialogs) {
  if (!SaveDialog) SaveDialog = std::make_unique<Win32SaveFileDialog>();
}

TEditForm::~TEditForm() {
  onDestroyed_ = nullptr;
  if (hwnd_ && IsWindow(hwnd_) && GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId()) {
    quiet_ = true;
    DestroyWindow(hwnd_);
  }
}

void TEditForm::create() {
  const std::wstring caption = toWide(kCaption);
  // No system menu and no boxes: the window is left through OK or Cancel only.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
  const HWND hwnd = CreateWindowExW(0, kClassName, caption.c_str(), style, 0, 0, kEditFormDesignWidth,
                                    kEditFormDesignHeight, nullptr, nullptr, module_, this);
  if (!hwnd) {
    throw std::runtime_error(createError_.empty() ? std::string("エディタのウィンドウを作成できません。")
                                                  : createError_);
  }
}

void TEditForm::show() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

LRESULT CALLBACK TEditForm::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TEditForm* form = nullptr;
  if (message == WM_NCCREATE) {
    form = static_cast<TEditForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<TEditForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    form->windowGone();  // may release the form: nothing of it is touched afterwards
    return result;
  }
  // Nothing may fall into the host's message loop. A failed command is told to the person; a failure
  // while painting is not (a message box there would only bring the next paint).
  auto report = [&](const char* text) {
    if (message == WM_CREATE) {
      form->createError_ = text;
    } else if (message == WM_COMMAND) {
      try {
        form->plug_.prompts().showError(text);
      } catch (...) {
      }
    }
  };
  return guardedCall<LRESULT>(
      message == WM_CREATE ? -1 : 0,
      [&] {
        throwPoint("TEditForm.windowProc");
        return form->dispatch(message, wParam, lParam);
      },
      report);
}

LRESULT TEditForm::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
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
      DestroyWindow(hwnd_);
      return 0;
    case kHookFailedMessage:
      if (hook_ && hook_->failed())
        plug_.prompts().showError(hook_->failure().empty() ? kUnexpectedText : hook_->failure());
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
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      // A plain window does not keep the focus of its controls across activation as a dialog does.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : DesignList.hwnd());
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TEditForm::windowGone() {
  hook_.reset();
  MainMenu.reset();
  accelerators_.reset();
  Images.reset();
  font_.reset();
  boldFont_.reset();
  hwnd_ = nullptr;
  if (auto callback = std::move(onDestroyed_)) callback(*this);
}

// ---- The form description -----------------------------------------------------------------------

HWND TEditForm::createChild(DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style, int id) {
  const std::wstring wide = toWide(text);
  const HWND child = CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | style, 0, 0, 0, 0, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
  if (!child) throw std::runtime_error("エディタのウィンドウを作成できません。");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

void TEditForm::buildMenu() {
  MainMenu = MenuHandle(CreateMenu());
  if (!MainMenu) throw std::runtime_error("メニューを作成できません。");
  for (const MenuSpec& menuEntry : editMenuBar()) {
    // A popup belongs to the bar as soon as it is appended; until then it is destroyed here on failure.
    HMENU popup = CreatePopupMenu();
    if (!popup) throw std::runtime_error("メニューを作成できません。");
    for (const MenuItemSpec& item : menuEntry.items) {
      if (item.command == kCmdNone) {
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(popup, MF_STRING, item.command, toWide(menuItemText(item)).c_str());
      }
    }
    if (!AppendMenuW(MainMenu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                     toWide(menuEntry.caption).c_str())) {
      DestroyMenu(popup);
      throw std::runtime_error("メニューを作成できません。");
    }
  }
  menu_.attach(MainMenu.get());

  std::vector<ACCEL> table;
  for (const AcceleratorSpec& a : editAccelerators()) {
    BYTE flags = FVIRTKEY;
    if (a.control) flags |= FCONTROL;
    if (a.alt) flags |= FALT;
    table.push_back(ACCEL{flags, a.key, a.command});
  }
  accelerators_ = AcceleratorHandle(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  if (!accelerators_) throw std::runtime_error("ショートカットを作成できません。");
}

void TEditForm::createControls() {
  font_ = createFont(FW_NORMAL);
  LOGFONTW bold{};
  GetObjectW(font_.get(), sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  boldFont_ = FontHandle(CreateFontIndirectW(&bold));
  if (!font_ || !boldFont_) throw std::runtime_error("フォントを作成できません。");
  Images = createIconImageList();

  buildMenu();
  SetMenu(hwnd_, MainMenu.get());

  // Creation order is tab order: design list, value list, OK, Cancel.
  DesignList.attach(createChild(WS_EX_CLIENTEDGE, L"LISTBOX", "",
                                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                    LBS_NOINTEGRALHEIGHT,
                                kIdDesignList));
  // Subclassed through its window procedure rather than the common controls' subclass list, whose
  // lookup of a window property on every message costs a server round trip under some systems.
  SetWindowLongPtrW(DesignList.hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  listBoxProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      DesignList.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TEditForm::designListProc)));

  Header.attach(createChild(0, WC_HEADERW, "", WS_VISIBLE | HDS_HORZ | HDS_FLAT | HDS_FULLDRAG, kIdHeader));
  const char* sections[] = {"項目", "値"};
  const int widths[] = {kCol0MinWidth, kCol1MinWidth};
  for (int i = 0; i < 2; ++i) {
    const std::wstring text = toWide(sections[i]);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.cxy = widths[i];
    item.fmt = HDF_LEFT | HDF_STRING;
    Header.insertItem(i, item);
  }

  ValList.attach(createChild(0, L"LISTBOX", "",
                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                 LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                             kIdValList));
  for (int row = 0; row < kRowCount; ++row) ValList.addString(toWide(rowCaption(row)).c_str());

  StatusBar.attach(createChild(0, STATUSCLASSNAMEW, "", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                               kIdStatusBar));
  StatusBar.setSimple(true);

  btOK = createChild(0, L"BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  btCamcel = createChild(0, L"BUTTON", "キャンセル", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
}

// ---- Creation and first show --------------------------------------------------------------------

void TEditForm::FormCreate() {
  createControls();

  TInitData& settings = plug_.settings();
  // Only a position beyond the screen's right or bottom edge is corrected; a window that merely sticks
  // out, or one at a negative position, stays where it was.
  if (GetSystemMetrics(SM_CXSCREEN) < settings.Left) settings.Left = 0;
  if (GetSystemMetrics(SM_CYSCREEN) < settings.Top) settings.Top = 0;
  SetWindowPos(hwnd_, nullptr, settings.Left, settings.Top, std::max(settings.Width, kEditFormDesignWidth),
               std::max(settings.Height, kEditFormDesignHeight), SWP_NOZORDER | SWP_NOACTIVATE);

  setSectionWidth(0, std::max(settings.Col0Width, kCol0MinWidth));
  setSectionWidth(1, std::max(settings.Col1Width, kCol1MinWidth));

  menu_.check(kCmdHelp, settings.HintHelp);
  showStatusBar(menu_.checked(kCmdHelp));

  firstShow_ = true;
  modified_ = false;
  fillRows();

  hook_ = std::make_unique<DialogMessageHook>(hwnd_, accelerators_.get(), kHookFailedMessage);
  created_ = true;
}

void TEditForm::fillRows() {
  if (plug_.active()) rows_ = plug_.designs();
  const int count = static_cast<int>(rows_.count());
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < rows_.count(); ++i) bytes += (rows_.name(i).size() + 1) * sizeof(wchar_t);
  DesignList.setRedraw(false);
  DesignList.initStorage(count, bytes);
  for (std::size_t i = 0; i < rows_.count(); ++i) DesignList.addString(toWide(rows_.name(i)).c_str());
  DesignList.setRedraw(true);
  if (DesignList.count() != count) throw std::runtime_error("デザイン一覧を作成できません。");
}

void TEditForm::FormShow() {
  if (!firstShow_) return;
  if (DesignList.count() > 0) selectOnly(0);
  DesignListClick();
  ValList.setItemHeight(measureRowHeight());
  InvalidateRect(ValList.hwnd(), nullptr, TRUE);
  firstShow_ = false;
}

int TEditForm::measureRowHeight() const {
  WindowDc dc(ValList.hwnd());
  SelectedObject font(dc.get(), font_.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), L"A", 1, &size);
  return std::max(static_cast<int>(size.cy) + 2, kValListMinRowHeight);
}

// ---- Layout -------------------------------------------------------------------------------------

void TEditForm::onMinMaxInfo(MINMAXINFO& info) const {
  info.ptMinTrackSize.x = kEditFormDesignWidth;
  info.ptMinTrackSize.y = kEditFormDesignHeight;
}

void TEditForm::relayout() {
  RECT client{};
  GetClientRect(hwnd_, &client);
  layout_ = computeEditLayout(client.right, client.bottom, menu_.checked(kCmdHelp));
  struct Placement {
    HWND hwnd;
    LayoutRect rect;
  };
  const Placement placements[] = {
      {DesignList.hwnd(), layout_.designList}, {Header.hwnd(), layout_.header},
      {ValList.hwnd(), layout_.valList},       {StatusBar.hwnd(), layout_.statusBar},
      {btOK, layout_.btOK},                    {btCamcel, layout_.btCamcel},
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
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TEditForm::showStatusBar(bool visible) {
  ShowWindow(StatusBar.hwnd(), visible ? SW_SHOW : SW_HIDE);
  relayout();
}

void TEditForm::FormResize() { InvalidateRect(ValList.hwnd(), nullptr, TRUE); }

void TEditForm::HeaderSectionResize() { InvalidateRect(ValList.hwnd(), nullptr, TRUE); }

int TEditForm::sectionWidth(int section) const {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  return Header.item(section, item) ? item.cxy : 0;
}

void TEditForm::setSectionWidth(int section, int width) {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  Header.setItem(section, item);
}

LRESULT TEditForm::onNotify(const NMHDR& header) {
  if (header.hwndFrom != Header.hwnd()) return 0;
  switch (header.code) {
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA: {
      const auto& change = reinterpret_cast<const NMHEADERW&>(header);
      if (!change.pitem || !(change.pitem->mask & HDI_WIDTH)) return 0;
      const int minimum = change.iItem == 0 ? kCol0MinWidth : kCol1MinWidth;
      // A section dragged below its minimum springs back to it; that change notifies again, at the minimum.
      if (change.iItem <= 1 && change.pitem->cxy < minimum) {
        setSectionWidth(change.iItem, minimum);
        return 0;
      }
      HeaderSectionResize();
      return 0;
    }
    default:
      return 0;
  }
}

void TEditForm::paint() {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  drawBevelRing(dc, toRect(layout_.pnTop), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  RECT sunken = toRect(layout_.pnRBottom);
  drawBevelRing(dc, sunken, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  InflateRect(&sunken, -1, -1);
  drawBevelRing(dc, sunken, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);

  SelectedObject font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  // The labels show their access keys underlined; the window handles Alt+S itself.
  RECT label = toRect(layout_.lbDesign);
  DrawTextW(dc, toWide(kDesignLabel).c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
  label = toRect(layout_.lbValue);
  DrawTextW(dc, toWide(kValueLabel).c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
  EndPaint(hwnd_, &ps);
}

// ---- Menu, commands and hints -------------------------------------------------------------------

bool TEditForm::commandEnabled(EditCommand command) const {
  return !findMenuItem(command) || menu_.enabled(command);
}

void TEditForm::onCommand(int id, int code, HWND control) {
  if (closing_) return;
  if (control == DesignList.hwnd() && control) {
    if (code == LBN_SELCHANGE) DesignListClick();
    if (code == LBN_DBLCLK) mnRenameClick();
    return;
  }
  if (control == ValList.hwnd() && control) {
    if (code == LBN_SELCHANGE) ValListClick();
    if (code == LBN_DBLCLK) mnModifyClick();
    return;
  }
  if (id == IDOK) {
    mnExitClick();
    return;
  }
  if (id == IDCANCEL) {
    // Esc while a design is dragged ends the drag, not the window.
    if (dragging_) {
      cancelDrag();
      return;
    }
    mnCancelClick();
    return;
  }
  // Menu clicks and shortcuts: a disabled item's shortcut does nothing.
  const auto command = static_cast<EditCommand>(id);
  if (!commandEnabled(command)) return;
  runCommand(command);
}

void TEditForm::runCommand(EditCommand command) {
  switch (command) {
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
    case kCmdFocusDesignList: SetFocus(DesignList.hwnd()); break;
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

std::string TEditForm::statusText() const {
  std::wstring text(static_cast<std::size_t>(StatusBar.simpleTextLength()) + 1, L'\0');
  StatusBar.simpleText(text.data());
  text.resize(wcslen(text.c_str()));
  return toCp932(text).value_or(std::string());
}

void TEditForm::mnHelpClick() {
  const bool visible = !menu_.checked(kCmdHelp);
  menu_.check(kCmdHelp, visible);
  showStatusBar(visible);
}

// ---- OK, Cancel, closing, destruction -----------------------------------------------------------

void TEditForm::mnExitClick() {
  if (modified_ && plug_.active()) {
    // The rows keep their own records: the design list gets copies, and the two never share one.
    plug_.designs() = rows_;
  }
  FormClose();
}

void TEditForm::mnCancelClick() {
  if (modified_ && !plug_.prompts().confirm(kDiscardQuestion)) return;
  FormClose();
}

void TEditForm::FormClose() {
  // No close query: every close frees the window, without commit and without a question.
  if (closing_) return;
  closing_ = true;
  PostMessageW(hwnd_, kReleaseMessage, 0, 0);
}

void TEditForm::FormDestroy() {
  closing_ = true;
  dragging_ = false;
  hook_.reset();
  // The menu is detached so that it is released with its owner rather than with the window.
  SetMenu(hwnd_, nullptr);
  if (!created_) return;  // creation failed: no settings to store, the editor never opened
  TInitData& settings = plug_.settings();
  RECT bounds{};
  GetWindowRect(hwnd_, &bounds);
  settings.Left = bounds.left;
  settings.Top = bounds.top;
  settings.Width = bounds.right - bounds.left;
  settings.Height = bounds.bottom - bounds.top;
  settings.Col0Width = sectionWidth(0);
  settings.Col1Width = sectionWidth(1);
  settings.HintHelp = menu_.checked(kCmdHelp);
  rows_.clear();
  plug_.setEditorOpen(false);
  if (!quiet_) plug_.changePluginMenus();
}

}  // namespace lumisk
