#include "host/pads/PadWindow.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "win32/Cp932.h"
#include "win32/GuiHandles.h"

namespace lumisk::host {
namespace {

constexpr wchar_t kClassName[] = L"OrbiqaSimPad";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;
constexpr UINT kPluginItemBase = 1000;  // command id of plug-in menu item n: base + n
constexpr UINT kCloseCommand = 1;
constexpr UINT kHideCommand = 2;
constexpr const char* kCloseCaption = "パッドを閉じる(&C)";
constexpr const char* kHideCaption = "隠す(&H)";
constexpr const char* kShowCaption = "表示する(&S)";
constexpr int kGap = 24;

RECT workArea() {
  RECT area{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

void PadWindow::registerClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kClassName;
  if (!WindowBase::registerClass(wc)) throw std::runtime_error("パッドのウィンドウクラスを登録できません。");
}

void PadWindow::unregisterClass(HINSTANCE instance) { UnregisterClassW(kClassName, instance); }

PadWindow::PadWindow(HINSTANCE instance, Host& host, std::size_t index, POINT at, std::function<void()> closed)
    : host_(host), index_(index), closed_(std::move(closed)), textHeight_(captionTextHeight()) {
  const std::wstring title = toWide(pad().name);
  if (!createWindow(kExStyle, kClassName, title.c_str(), kStyle, at.x, at.y, 100, 100, nullptr, instance))
    throw std::runtime_error("パッドのウィンドウを作成できません。");
  refresh();
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

PadWindow::~PadWindow() {
  if (hwnd()) {
    closed_ = nullptr;  // the owner is going away: nothing to tell it
    DestroyWindow(hwnd());
  }
}

LayoutLimits PadWindow::limits() const {
  // The frame around the client area, which the screen must hold too.
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const RECT area = workArea();
  LayoutLimits limits;
  limits.maxWidth = std::max<int>(limits.minWidth, (area.right - area.left) - (frame.right - frame.left));
  limits.maxHeight = std::max<int>(limits.minHeight, (area.bottom - area.top) - (frame.bottom - frame.top));
  limits.textHeight = textHeight_;
  return limits;
}

void PadWindow::refresh() {
  layout_ = layoutPad(lookOf(pad()), limits());
  RECT frame{0, 0, layout_.client.width, layout_.client.height};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  // A pad that grows past the screen's edge moves back onto the screen.
  RECT now{};
  GetWindowRect(hwnd(), &now);
  const RECT area = workArea();
  const int x = std::max<int>(area.left, std::min<int>(now.left, area.right - width));
  const int y = std::max<int>(area.top, std::min<int>(now.top, area.bottom - height));
  SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PadWindow::setHidden(bool hidden) {
  host_.pads().pads().at(index_).hidden = hidden;
  hover_ = -1;
  refresh();
}

LRESULT PadWindow::onFailure(UINT message, WPARAM wParam, LPARAM lParam, const char*) noexcept {
  return defaultProc(message, wParam, lParam);
}

void PadWindow::onGone() {
  auto closed = std::move(closed_);
  if (closed) closed();
}

LRESULT PadWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      onPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_NCHITTEST:
      return onHitTest(lParam);
    case WM_MOUSEMOVE:
      onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      onMouseMove(-1, -1);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (pad().hidden) setHidden(false);  // a hidden pad comes back with a double click
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (at.x == -1 && at.y == -1) {  // from the keyboard: at the window's corner
        at = POINT{0, 0};
        ClientToScreen(hwnd(), &at);
      }
      showMenu(at);
      return 0;
    }
    case kShowMenuMessage: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      POINT at{client.right / 2, client.bottom / 2};
      ClientToScreen(hwnd(), &at);
      showMenu(at);
      return 0;
    }
    default:
      return defaultProc(message, wParam, lParam);
  }
}

// The drag bar moves the pad as a title bar would.
LRESULT PadWindow::onHitTest(LPARAM lParam) {
  const LRESULT hit = defaultProc(WM_NCHITTEST, 0, lParam);
  if (hit != HTCLIENT) return hit;
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(hwnd(), &at);
  return layout_.dragBar.contains(at.x, at.y) ? HTCAPTION : HTCLIENT;
}

void PadWindow::onMouseMove(int x, int y) {
  if (!tracking_ && x >= 0) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  const int over = buttonAt(layout_, x, y);
  if (over == hover_) return;
  hover_ = over;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void PadWindow::onPaint() {
  const PaintScope paint(hwnd());
  const HDC dc = paint.dc();
  if (!dc) return;
  const PadLook look = lookOf(pad());
  // The pad may have changed since the window was fitted; what is drawn follows the pad.
  layout_ = layoutPad(look, limits());
  paintPad(dc, PadPaint{layout_, look, pad().group, hover_ >= 0 ? hover_ : 0}, wallPapers_);
  // The system may keep a window wider than a small pad needs: the rest is workspace (or hidden strip).
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (client.right > layout_.client.width || client.bottom > layout_.client.height) {
    const BrushHandle fill(CreateSolidBrush(colourOf(layout_.hidden ? look.hideColor : look.backColor)));
    const RECT right{layout_.client.width, 0, client.right, client.bottom};
    const RECT below{0, layout_.client.height, layout_.client.width, client.bottom};
    if (fill) {
      if (right.right > right.left) FillRect(dc, &right, fill.get());
      if (below.bottom > below.top) FillRect(dc, &below, fill.get());
    }
  }
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
    // The submenu belongs to the popup as soon as it is appended; one that could not be is released here.
    HMENU sub = CreatePopupMenu();
    if (sub && !AppendMenuW(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), toWide(items[0].caption).c_str())) {
      const MenuHandle unattached(sub);
      sub = nullptr;
    }
    for (std::size_t n = 1; sub && n < items.size(); ++n) {
      if (items[n].caption == "-") AppendMenuW(sub, MF_SEPARATOR, 0, nullptr);
      else AppendMenuW(sub, MF_STRING, kPluginItemBase + n, toWide(items[n].caption).c_str());
    }
    AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr);
  }
  AppendMenuW(popup.get(), MF_STRING, kHideCommand, toWide(pad().hidden ? kShowCaption : kHideCaption).c_str());
  AppendMenuW(popup.get(), MF_STRING, kCloseCommand, toWide(kCloseCaption).c_str());
  SetForegroundWindow(hwnd());
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr));
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  popup.reset();
  if (chosen == kCloseCommand) {
    DestroyWindow(hwnd());
  } else if (chosen == kHideCommand) {
    setHidden(!pad().hidden);
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
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void arrangeWindows(const std::vector<std::unique_ptr<PadWindow>>& windows) {
  const RECT area = workArea();
  int x = area.left + kGap, y = area.top + kGap, rowBottom = y;
  for (const auto& window : windows) {
    if (!window->handle()) continue;
    RECT frame{};
    GetWindowRect(window->handle(), &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (x > area.left + kGap && x + width > area.right) {
      x = area.left + kGap;
      y = rowBottom + kGap;
    }
    // Where the screen is full, a pad overlaps others rather than leaving the screen.
    const int left = std::max<int>(area.left, std::min<int>(x, area.right - width));
    const int top = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(window->handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    x += width + kGap;
    rowBottom = std::max(rowBottom, y + height);
  }
}

}  // namespace lumisk::host
