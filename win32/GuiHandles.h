// Owning handles for the Win32 objects the editor creates, each released by its own destructor on every
// path. In the test builds (LUMISK_TEST_BUILD) every creation and release is also counted per kind, so
// that a test can show that opening and closing the editor any number of times leaves nothing behind;
// the shipped plug-in counts nothing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>
#ifdef LUMISK_TEST_BUILD
#include <array>
#endif

namespace lumisk {

enum class GuiKind { Font, Brush, Bitmap, ImageList, Menu, Accelerators, Hook, DeviceContext, Count };

#ifdef LUMISK_TEST_BUILD
// Live objects per kind: creations minus releases since the library was loaded. One UI thread only.
class GuiCounters {
 public:
  static int live(GuiKind kind) { return counts()[static_cast<std::size_t>(kind)]; }
  static int liveTotal() {
    int total = 0;
    for (int n : counts()) total += n;
    return total;
  }
  static void created(GuiKind kind) { ++counts()[static_cast<std::size_t>(kind)]; }
  static void released(GuiKind kind) { --counts()[static_cast<std::size_t>(kind)]; }

 private:
  static std::array<int, static_cast<std::size_t>(GuiKind::Count)>& counts() {
    static std::array<int, static_cast<std::size_t>(GuiKind::Count)> values{};
    return values;
  }
};

inline void countCreated(GuiKind kind) { GuiCounters::created(kind); }
inline void countReleased(GuiKind kind) { GuiCounters::released(kind); }
#else
inline void countCreated(GuiKind) noexcept {}
inline void countReleased(GuiKind) noexcept {}
#endif

// One owned handle of type H; `Release` frees it. Move-only. A null handle owns nothing.
template <typename H, GuiKind Kind, auto Release>
class GuiHandle {
 public:
  GuiHandle() = default;
  // Takes ownership of `handle` (which may be null: a failed creation).
  explicit GuiHandle(H handle) : handle_(handle) {
    if (handle_) countCreated(Kind);
  }
  ~GuiHandle() { reset(); }
  GuiHandle(GuiHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GuiHandle& operator=(GuiHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GuiHandle(const GuiHandle&) = delete;
  GuiHandle& operator=(const GuiHandle&) = delete;

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) {
      Release(handle_);
      countReleased(Kind);
      handle_ = nullptr;
    }
  }

 private:
  H handle_ = nullptr;
};

namespace gui_release {
inline void gdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void imageList(HIMAGELIST h) { ImageList_Destroy(h); }
inline void menu(HMENU h) { DestroyMenu(h); }
inline void accelerators(HACCEL h) { DestroyAcceleratorTable(h); }
inline void hook(HHOOK h) { UnhookWindowsHookEx(h); }
inline void memoryDc(HDC h) { DeleteDC(h); }
}  // namespace gui_release

using FontHandle = GuiHandle<HFONT, GuiKind::Font, gui_release::gdiObject>;
using BrushHandle = GuiHandle<HBRUSH, GuiKind::Brush, gui_release::gdiObject>;
using BitmapHandle = GuiHandle<HBITMAP, GuiKind::Bitmap, gui_release::gdiObject>;
using ImageListHandle = GuiHandle<HIMAGELIST, GuiKind::ImageList, gui_release::imageList>;
using MenuHandle = GuiHandle<HMENU, GuiKind::Menu, gui_release::menu>;
using AcceleratorHandle = GuiHandle<HACCEL, GuiKind::Accelerators, gui_release::accelerators>;
using HookHandle = GuiHandle<HHOOK, GuiKind::Hook, gui_release::hook>;
using MemoryDcHandle = GuiHandle<HDC, GuiKind::DeviceContext, gui_release::memoryDc>;

// A window's device context, from GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_) countCreated(GuiKind::DeviceContext);
  }
  ~WindowDc() {
    if (dc_) {
      ReleaseDC(hwnd_, dc_);
      countReleased(GuiKind::DeviceContext);
    }
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// A window's painting, from BeginPaint to EndPaint: a handler that fails halfway still ends it, and the
// window does not ask for WM_PAINT again and again.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {
    if (dc_) countCreated(GuiKind::DeviceContext);
  }
  ~PaintScope() {
    if (dc_) {
      EndPaint(hwnd_, &paint_);
      countReleased(GuiKind::DeviceContext);
    }
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  // Null when BeginPaint failed: nothing is to be drawn.
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& info() const { return paint_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a device context for the scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace lumisk
