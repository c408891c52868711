// TEditForm: the form description — controls, fonts, menu, accelerators, images — and their layout:
// placing the controls, the header's sections, painting the bevels and labels.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "editor/EditForm.h"
#include "editor/IconImages.h"
#include "editor/ValueTables.h"
#include "win32/Cp932.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

constexpr const char* kDesignLabel = "デザイン一覧(&S):";
constexpr const char* kValueLabel = "設定値一覧(&T):";

RECT toRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

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

// ---- The form description -----------------------------------------------------------------------

HWND TEditForm::createChild(DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style, int id) {
  const std::wstring wide = toWide(text);
  const HWND child = CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | style, 0, 0, 0, 0, hwnd(),
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
  font_ = createUiFont(FW_NORMAL);
  boldFont_ = createUiFont(FW_BOLD);
  if (!font_ || !boldFont_) throw std::runtime_error("フォントを作成できません。");
  Images = createIconImageList();

  buildMenu();
  SetMenu(hwnd(), MainMenu.get());

  // Creation order is tab order: design list, value list, OK, Cancel.
  rows_.attach(controls::ListBox(createChild(WS_EX_CLIENTEDGE, L"LISTBOX", "",
                                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                                 LBS_NOINTEGRALHEIGHT,
                                             kIdDesignList)));
  drag_.attach();

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

  btOK.attach(createChild(0, L"BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kCmdOk));
  btCamcel.attach(createChild(0, L"BUTTON", "キャンセル", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCmdCancelButton));
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
  GetClientRect(hwnd(), &client);
  layout_ = computeEditLayout(client.right, client.bottom, menu_.checked(kCmdHelp));
  struct Placement {
    HWND hwnd;
    LayoutRect rect;
  };
  const Placement placements[] = {
      {rows_.list().hwnd(), layout_.designList}, {Header.hwnd(), layout_.header},
      {ValList.hwnd(), layout_.valList},         {StatusBar.hwnd(), layout_.statusBar},
      {btOK.hwnd(), layout_.btOK},               {btCamcel.hwnd(), layout_.btCamcel},
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
  ShowWindow(StatusBar.hwnd(), visible ? SW_SHOW : SW_HIDE);
  relayout();
}

void TEditForm::FormResize() { InvalidateRect(ValList.hwnd(), nullptr, TRUE); }

void TEditForm::HeaderSectionResize() { InvalidateRect(ValList.hwnd(), nullptr, TRUE); }

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
        Header.setWidth(change.iItem, minimum);
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
  const PaintScope paint(hwnd());
  const HDC dc = paint.dc();
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
}

}  // namespace lumisk
