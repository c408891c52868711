#include "host/PadWindow.h"

#include <algorithm>
#include <stdexcept>

#include "win32/Cp932.h"

namespace lumisk::host {
namespace {

constexpr wchar_t kClassName[] = L"OrbiqaSimPad";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr UINT kPluginItemBase = 1000;  // command id of plug-in menu item n: base + n
constexpr UINT kCloseCommand = 1;
constexpr const char* kCloseCaption = "パッドを閉じる(&C)";
constexpr const char* kGroupCaption = "グループ1";

// Setting indexes in the key catalogue.
enum : int {
  kBtnVertical, kDragBar, kGroupName, kDragBarSize, kScrollBar, kScrollBtn, kGroupBtn, kScrollSize, kBtnSmallIcon,
  kBtnSquare, kBtnWidth, kBtnHeight, kBtnCaption, kBackColor, kBtnColor, kBtnFocusColor, kHideColor, kBtnTransparent,
  kBtnSelTransparent, kHideGroupName, kHideSize, kCols, kRows
};

template <typename H>
struct GdiDelete {
  void operator()(H object) const { DeleteObject(object); }
};
template <typename H>
using Gdi = std::unique_ptr<std::remove_pointer_t<H>, GdiDelete<H>>;

struct MenuDestroy {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroy>;

struct DcDelete {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

// Keeps an object selected into a DC for a scope, and puts the old one back.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

void fill(HDC dc, const RECT& rect, COLORREF colour) {
  Gdi<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

bool isEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The band of `thickness` along side `side` (1 left, 2 top, 3 right, 4 bottom) of `area`; what remains of
// `area` is left in it.
RECT takeSide(RECT& area, int side, int thickness) {
  RECT band = area;
  switch (side) {
    case 1: band.right = area.left + thickness; area.left = band.right; break;
    case 2: band.bottom = area.top + thickness; area.top = band.bottom; break;
    case 3: band.left = area.right - thickness; area.right = band.left; break;
    case 4: band.top = area.bottom - thickness; area.bottom = band.top; break;
    default: return RECT{};
  }
  return band;
}

int thicknessOn(int side, int thickness, int wanted) { return side == wanted ? thickness : 0; }

}  // namespace

COLORREF colourOf(int32_t value) {
  if (value < 0) return GetSysColor(value & 0xFF);
  return static_cast<COLORREF>(value) & 0x00FFFFFF;
}

PadLayout layoutOf(const Pad& pad) {
  PadLayout layout;
  layout.cols = std::clamp(pad.integer(kCols, 1), 1, 40);
  layout.rows = std::clamp(pad.integer(kRows, 1), 1, 30);
  const int width = std::clamp(pad.integer(kBtnWidth, 32), 8, 128);
  const int height = pad.integer(kBtnSquare) == 1 ? width : std::clamp(pad.integer(kBtnHeight, 32), 8, 128);
  layout.button = SIZE{width, height};
  const int dragSide = std::clamp(pad.integer(kDragBar), 0, 4);
  const int dragSize = dragSide ? std::clamp(pad.integer(kDragBarSize, 8), 2, 100) : 0;
  const int scrollSide = std::clamp(pad.integer(kScrollBar), 0, 4);
  const int scrollSize = scrollSide ? std::clamp(pad.integer(kScrollSize, 8), 2, 100) : 0;
  const int left = thicknessOn(dragSide, dragSize, 1) + thicknessOn(scrollSide, scrollSize, 1);
  const int top = thicknessOn(dragSide, dragSize, 2) + thicknessOn(scrollSide, scrollSize, 2);
  const int right = thicknessOn(dragSide, dragSize, 3) + thicknessOn(scrollSide, scrollSize, 3);
  const int bottom = thicknessOn(dragSide, dragSize, 4) + thicknessOn(scrollSide, scrollSize, 4);
  layout.client = SIZE{left + layout.cols * width + right, top + layout.rows * height + bottom};
  RECT area{0, 0, layout.client.cx, layout.client.cy};
  layout.dragBar = takeSide(area, dragSide, dragSize);
  layout.scrollBar = takeSide(area, scrollSide, scrollSize);
  layout.scrollSide = scrollSide;
  layout.grid = area;
  return layout;
}

void PadWindow::registerClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &PadWindow::windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) throw std::runtime_error("パッドのウィンドウクラスを登録できません。");
}

void PadWindow::unregisterClass(HINSTANCE instance) { UnregisterClassW(kClassName, instance); }

PadWindow::PadWindow(HINSTANCE instance, Host& host, std::size_t index, POINT at, std::function<void()> closed)
    : host_(host), index_(index), closed_(std::move(closed)) {
  const std::wstring title = toWide(pad().name);
  CreateWindowExW(kExStyle, kClassName, title.c_str(), kStyle, at.x, at.y, 100, 100, nullptr, nullptr, instance, this);
  if (!window_) throw std::runtime_error("パッドのウィンドウを作成できません。");
  refresh();
  ShowWindow(window_, SW_SHOWNOACTIVATE);
}

PadWindow::~PadWindow() {
  if (window_) {
    closed_ = nullptr;  // the owner is going away: nothing to tell it
    DestroyWindow(window_);
  }
}

void PadWindow::refresh() {
  const PadLayout layout = layoutOf(pad());
  RECT frame{0, 0, layout.client.cx, layout.client.cy};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK PadWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<PadWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PadWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  try {
    if (self) return self->dispatch(message, wParam, lParam);
  } catch (...) {
    // A pad that fails to draw or to show its menu stays as it was; the host goes on.
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT PadWindow::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's corner
        at = POINT{0, 0};
        ClientToScreen(window_, &at);
      }
      showMenu(at);
      return 0;
    }
    case kShowMenuMessage: {
      RECT client{};
      GetClientRect(window_, &client);
      POINT at{client.right / 2, client.bottom / 2};
      ClientToScreen(window_, &at);
      showMenu(at);
      return 0;
    }
    case WM_NCDESTROY: {
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      auto closed = std::move(closed_);
      if (closed) closed();
      return 0;
    }
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void PadWindow::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  struct End {
    HWND window;
    PAINTSTRUCT* ps;
    ~End() { EndPaint(window, ps); }
  } end{window_, &ps};
  paint(dc);
}

void PadWindow::paint(HDC dc) {
  const Pad& p = pad();
  const PadLayout layout = layoutOf(p);
  const RECT client{0, 0, layout.client.cx, layout.client.cy};
  fill(dc, client, colourOf(p.integer(kBackColor)));
  drawWallPaper(dc, layout.grid);

  // The system's message font: the one the system links to a font with Japanese glyphs.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  Gdi<HFONT> font(CreateFontIndirectW(&metrics.lfMessageFont));
  Selected selectFont(dc, font.get());
  SetBkMode(dc, TRANSPARENT);

  if (!isEmpty(layout.dragBar)) {
    fill(dc, layout.dragBar, GetSysColor(COLOR_ACTIVECAPTION));
    const bool across = layout.dragBar.right - layout.dragBar.left > layout.dragBar.bottom - layout.dragBar.top;
    if (p.integer(kGroupName) == 1 && across) {
      SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
      RECT text = layout.dragBar;
      text.left += 4;
      const std::wstring name = toWide(kGroupCaption);
      DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
  }
  if (!isEmpty(layout.scrollBar)) {
    fill(dc, layout.scrollBar, GetSysColor(COLOR_SCROLLBAR));
    if (p.integer(kScrollBtn) == 1) {
      const bool across = layout.scrollSide == 2 || layout.scrollSide == 4;
      const RECT& s = layout.scrollBar;
      const int n = across ? s.bottom - s.top : s.right - s.left;
      RECT first = across ? RECT{s.left, s.top, s.left + n, s.bottom} : RECT{s.left, s.top, s.right, s.top + n};
      RECT last = across ? RECT{s.right - n, s.top, s.right, s.bottom} : RECT{s.left, s.bottom - n, s.right, s.bottom};
      DrawFrameControl(dc, &first, DFC_SCROLL, across ? DFCS_SCROLLLEFT : DFCS_SCROLLUP);
      DrawFrameControl(dc, &last, DFC_SCROLL, across ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN);
    }
  }

  const bool vertical = p.integer(kBtnVertical) == 1;
  const bool transparent = p.integer(kBtnTransparent) == 1;
  const bool selectionCovers = p.integer(kBtnSelTransparent) == 1;
  // The workspace shows between the buttons; the icon leaves room for the button's own colour.
  constexpr int kButtonGap = 2;
  const int iconSize = std::min<int>({p.integer(kBtnSmallIcon) == 1 ? 16 : 24, static_cast<int>(layout.button.cx) - 12,
                                      static_cast<int>(layout.button.cy) - 12});
  const int captionPlace = p.integer(kBtnCaption);
  const HICON icon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const int count = layout.cols * layout.rows;
  for (int i = 0; i < count; ++i) {
    const int col = vertical ? i / layout.rows : i % layout.cols;
    const int row = vertical ? i % layout.rows : i / layout.cols;
    RECT cell{layout.grid.left + col * layout.button.cx, layout.grid.top + row * layout.button.cy, 0, 0};
    cell.right = cell.left + layout.button.cx;
    cell.bottom = cell.top + layout.button.cy;
    InflateRect(&cell, -kButtonGap / 2, -kButtonGap / 2);
    const bool selected = i == 0;
    if (selected && !selectionCovers) fill(dc, cell, colourOf(p.integer(kBtnFocusColor)));
    else if (!transparent) fill(dc, cell, colourOf(p.integer(kBtnColor)));
    DrawEdge(dc, &cell, EDGE_RAISED, BF_RECT);
    if (selected && selectionCovers) {
      Gdi<HBRUSH> cover(CreateSolidBrush(colourOf(p.integer(kBtnFocusColor))));
      RECT inner = cell;
      InflateRect(&inner, -2, -2);
      FrameRect(dc, &inner, cover.get());
    }
    RECT content = cell;
    InflateRect(&content, -2, -2);
    if (iconSize >= 8) {
      const int x = captionPlace == 2 ? content.left + 2 : (content.left + content.right - iconSize) / 2;
      const int y = captionPlace == 1 ? content.top + 2 : (content.top + content.bottom - iconSize) / 2;
      DrawIconEx(dc, x, y, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
      if (captionPlace == 1) content.top = y + iconSize;
      if (captionPlace == 2) content.left = x + iconSize + 2;
    }
    if (captionPlace == 1 || captionPlace == 2) {
      const std::wstring caption = toWide("ボタン" + std::to_string(i + 1));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &content,
                (captionPlace == 1 ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
  }
}

// The wallpaper, when it names a bitmap that can be read, stretched over the button area.
void PadWindow::drawWallPaper(HDC dc, const RECT& area) {
  const std::string& path = pad().wallPaper();
  if (path != wallPaperPath_) {
    wallPaperPath_ = path;
    wallPaper_.reset();
    if (auto wide = toWideExact(path); wide && !path.empty() && path != "-")
      wallPaper_.reset(static_cast<HBITMAP>(LoadImageW(nullptr, wide->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  }
  if (!wallPaper_) return;
  BITMAP info{};
  GetObjectW(wallPaper_.get(), sizeof info, &info);
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDelete> memory(CreateCompatibleDC(dc));
  Selected selectBitmap(memory.get(), wallPaper_.get());
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory.get(), 0, 0, info.bmWidth,
             info.bmHeight, SRCCOPY);
}

void PadWindow::showMenu(POINT screen) {
  MenuHandle popup(CreatePopupMenu());
  if (!popup) return;
  const auto& items = host_.menu();
  if (items.size() == 1) {
    // Only the title: the plug-in offers nothing now (its editor is open).
    AppendMenuW(popup.get(), MF_STRING | MF_GRAYED, 0, toWide(items[0].caption).c_str());
    AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
  } else if (items.size() > 1) {
    MenuHandle sub(CreatePopupMenu());
    for (std::size_t n = 1; n < items.size(); ++n) {
      if (items[n].caption == "-") AppendMenuW(sub.get(), MF_SEPARATOR, 0, nullptr);
      else AppendMenuW(sub.get(), MF_STRING, kPluginItemBase + n, toWide(items[n].caption).c_str());
    }
    if (AppendMenuW(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), toWide(items[0].caption).c_str()))
      sub.release();  // the popup owns it now
    AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
  }
  AppendMenuW(popup.get(), MF_STRING, kCloseCommand, toWide(kCloseCaption).c_str());
  SetForegroundWindow(window_);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  popup.reset();
  if (chosen == kCloseCommand) {
    DestroyWindow(window_);
  } else if (chosen > kPluginItemBase) {
    click(static_cast<int32_t>(chosen - kPluginItemBase));
  }
}

void PadWindow::click(int32_t item) {
  PluginModule* plugin = host_.plugin();
  if (!plugin || !plugin->menuClick) return;
  const int32_t value = pad().clickValue;
  const int32_t result = plugin->menuClick(item, value);
  host_.transcript().line("OQXMenuClick(" + std::to_string(item) + ", " + std::to_string(value) + ") -> " +
                          std::to_string(result));
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace lumisk::host
