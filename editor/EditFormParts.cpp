#include "editor/EditFormParts.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "editor/EditMenu.h"
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

HWND createChild(HWND form, HINSTANCE module, HFONT font, DWORD exStyle, const wchar_t* className,
                 const std::string& text, DWORD style, int id) {
  const std::wstring wide = toWide(text);
  const HWND child = CreateWindowExW(exStyle, className, wide.c_str(), WS_CHILD | style, 0, 0, 0, 0, form,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
  if (!child) throw std::runtime_error("エディタのウィンドウを作成できません。");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

// The menu bar and the shortcuts from the menu table.
void buildMenu(EditFormParts& parts) {
  parts.MainMenu = MenuHandle(CreateMenu());
  if (!parts.MainMenu) throw std::runtime_error("メニューを作成できません。");
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
    if (!AppendMenuW(parts.MainMenu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                     toWide(menuEntry.caption).c_str())) {
      DestroyMenu(popup);
      throw std::runtime_error("メニューを作成できません。");
    }
  }
  parts.menu.attach(parts.MainMenu.get());

  std::vector<ACCEL> table;
  for (const AcceleratorSpec& a : editAccelerators()) {
    BYTE flags = FVIRTKEY;
    if (a.control) flags |= FCONTROL;
    if (a.alt) flags |= FALT;
    table.push_back(ACCEL{flags, a.key, a.command});
  }
  parts.accelerators = AcceleratorHandle(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
  if (!parts.accelerators) throw std::runtime_error("ショートカットを作成できません。");
}

}  // namespace

void EditFormParts::create(HWND form, HINSTANCE module) {
  font = createUiFont(FW_NORMAL);
  boldFont = createUiFont(FW_BOLD);
  if (!font || !boldFont) throw std::runtime_error("フォントを作成できません。");
  Images = createIconImageList();

  buildMenu(*this);
  SetMenu(form, MainMenu.get());

  auto child = [&](DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style, int id) {
    return createChild(form, module, font.get(), exStyle, className, text, style, id);
  };
  // Creation order is tab order: design list, value list, OK, Cancel.
  DesignList.attach(child(WS_EX_CLIENTEDGE, L"LISTBOX", "",
                          WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                          kIdDesignList));

  Header.attach(child(0, WC_HEADERW, "", WS_VISIBLE | HDS_HORZ | HDS_FLAT | HDS_FULLDRAG, kIdHeader));
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

  ValList.attach(child(0, L"LISTBOX", "",
                       WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED |
                           LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                       kIdValList));
  for (int row = 0; row < kRowCount; ++row) ValList.addString(toWide(rowCaption(row)).c_str());

  StatusBar.attach(child(0, STATUSCLASSNAMEW, "", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, kIdStatusBar));
  StatusBar.setSimple(true);

  btOK.attach(child(0, L"BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kCmdOk));
  btCamcel.attach(child(0, L"BUTTON", "キャンセル", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCmdCancelButton));
}

void EditFormParts::release() {
  MainMenu.reset();
  accelerators.reset();
  Images.reset();
  font.reset();
  boldFont.reset();
}

int EditFormParts::measureRowHeight() const {
  WindowDc dc(ValList.hwnd());
  SelectedObject selected(dc.get(), font.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), L"A", 1, &size);
  return std::max(static_cast<int>(size.cy) + 2, kValListMinRowHeight);
}

void EditFormParts::paint(HDC dc, const EditLayout& layout) const {
  drawBevelRing(dc, toRect(layout.pnTop), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
  RECT sunken = toRect(layout.pnRBottom);
  drawBevelRing(dc, sunken, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
  InflateRect(&sunken, -1, -1);
  drawBevelRing(dc, sunken, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);

  SelectedObject selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  // The labels show their access keys underlined; the window handles Alt+S itself.
  RECT label = toRect(layout.lbDesign);
  DrawTextW(dc, toWide(kDesignLabel).c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
  label = toRect(layout.lbValue);
  DrawTextW(dc, toWide(kValueLabel).c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

}  // namespace lumisk
