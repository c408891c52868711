#include "host/pads/PadPainter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>

#include "store/Cp932Path.h"
#include "win32/Cp932.h"
#include "win32/GuiHandles.h"

namespace lumisk::host {
namespace {

// What the buttons launch, as a pad of a person's programs would show them; each one's first character
// is the glyph on its icon.
constexpr std::array<const char*, 16> kCaptions = {"メモ帳", "電卓", "ブラウザ", "郵便", "写真", "音楽", "動画", "予定表",
                                                   "端末", "設定", "地図", "辞書", "カメラ", "時計", "天気", "遊び"};
// Icon colours (0x00BBGGRR), one per caption.
constexpr std::array<COLORREF, 16> kIconColours = {0x3C9BE8, 0x5A5A5A, 0xD08A2E, 0x4C4CD9, 0x3FAF5B, 0xB2589E,
                                                   0x2F5FD0, 0x2AA6D8, 0x303030, 0x8C7D6E, 0x5BA83A, 0x7A4A2A,
                                                   0x6E56C8, 0xA07830, 0xE0A040, 0x7D3CD0};

int red(COLORREF c) { return GetRValue(c); }
int green(COLORREF c) { return GetGValue(c); }
int blue(COLORREF c) { return GetBValue(c); }

// `from` moved towards `to` by weight/256.
COLORREF mix(COLORREF from, COLORREF to, int weight) {
  auto channel = [weight](int a, int b) { return static_cast<BYTE>(a + (b - a) * weight / 256); };
  return RGB(channel(red(from), red(to)), channel(green(from), green(to)), channel(blue(from), blue(to)));
}

int luminance(COLORREF c) { return (299 * red(c) + 587 * green(c) + 114 * blue(c)) / 1000; }
bool isLight(COLORREF c) { return luminance(c) > 140; }
// Text that reads on `background`.
COLORREF textOn(COLORREF background) { return isLight(background) ? RGB(0x20, 0x20, 0x20) : RGB(0xFF, 0xFF, 0xFF); }
// A deeper tone of `c`: darker on a light colour, lighter on a dark one, so that it shows either way.
COLORREF toneOf(COLORREF c, int weight) { return mix(c, isLight(c) ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF), weight); }

RECT rectOf(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The pad's picture: a 32-bit top-down bitmap selected into a memory DC. GDI draws into it as into any
// DC; fills, gradients and blends are computed on its pixels directly, which is how the buttons are made
// transparent without any library beyond GDI.
class Canvas {
 public:
  Canvas(HDC reference, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = BitmapHandle(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_ = MemoryDcHandle(CreateCompatibleDC(reference));
    if (bitmap_ && dc_ && bits) {
      pixels_ = static_cast<uint32_t*>(bits);
      selected_.emplace(dc_.get(), bitmap_.get());
    }
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool ready() const { return pixels_ != nullptr; }
  HDC dc() const { return dc_.get(); }

  void fill(const Rect& r, COLORREF c) { blend(r, c, 256); }

  // Lays `c` over the pixels of `r` with opacity weight/256.
  void blend(const Rect& r, COLORREF c, int weight) {
    const Rect area = clip(r);
    if (area.empty()) return;
    GdiFlush();  // what GDI drew must be in the pixels before they are read
    const uint32_t target = pixel(c);
    for (int y = area.top; y < area.bottom; ++y) {
      uint32_t* row = pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
      for (int x = area.left; x < area.right; ++x) row[x] = weight >= 256 ? target : mixPixel(row[x], target, weight);
    }
  }

  // A gradient from `from` to `to`, left to right when `across`, else top to bottom.
  void gradient(const Rect& r, COLORREF from, COLORREF to, bool across) {
    const Rect area = clip(r);
    if (area.empty()) return;
    const int steps = std::max(1, (across ? r.width() : r.height()) - 1);
    for (int i = across ? area.left : area.top; i < (across ? area.right : area.bottom); ++i) {
      const COLORREF c = mix(from, to, (i - (across ? r.left : r.top)) * 256 / steps);
      fill(across ? Rect{i, area.top, i + 1, area.bottom} : Rect{area.left, i, area.right, i + 1}, c);
    }
  }

  // A square with corners rounded by `radius`.
  void roundedSquare(const Rect& r, COLORREF c, int radius) {
    const Rect area = clip(r);
    if (area.empty()) return;
    GdiFlush();
    const uint32_t target = pixel(c);
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) {
        const int dx = std::max({0, r.left + radius - x, x - (r.right - 1 - radius)});
        const int dy = std::max({0, r.top + radius - y, y - (r.bottom - 1 - radius)});
        if (dx * dx + dy * dy <= radius * radius) pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = target;
      }
  }

  // A frame one pixel wide just inside `r`.
  void frame(const Rect& r, COLORREF c, int weight = 256) {
    blend(Rect{r.left, r.top, r.right, r.top + 1}, c, weight);
    blend(Rect{r.left, r.bottom - 1, r.right, r.bottom}, c, weight);
    blend(Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1}, c, weight);
    blend(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, c, weight);
  }

  // The raised look of a button face: light top and left edges, dark bottom and right ones.
  void raised(const Rect& r, COLORREF face) {
    if (r.width() < 4 || r.height() < 4) return;
    const COLORREF light = mix(face, RGB(0xFF, 0xFF, 0xFF), 140), dark = mix(face, RGB(0, 0, 0), 110);
    fill(Rect{r.left, r.top, r.right, r.top + 1}, light);
    fill(Rect{r.left, r.top + 1, r.left + 1, r.bottom}, light);
    fill(Rect{r.left + 1, r.bottom - 1, r.right, r.bottom}, dark);
    fill(Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1}, dark);
  }

 private:
  static uint32_t pixel(COLORREF c) {
    return static_cast<uint32_t>(red(c)) << 16 | static_cast<uint32_t>(green(c)) << 8 | static_cast<uint32_t>(blue(c));
  }
  static uint32_t mixPixel(uint32_t under, uint32_t over, int weight) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int a = static_cast<int>((under >> shift) & 0xFF), b = static_cast<int>((over >> shift) & 0xFF);
      out |= static_cast<uint32_t>(a + (b - a) * weight / 256) << shift;
    }
    return out;
  }
  Rect clip(const Rect& r) const {
    Rect out{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_), std::min(r.bottom, height_)};
    return out.empty() ? Rect{} : out;
  }

  int width_, height_;
  BitmapHandle bitmap_;
  MemoryDcHandle dc_;
  std::optional<SelectedObject> selected_;  // goes first: the bitmap leaves the DC before either is freed
  uint32_t* pixels_ = nullptr;
};

// The system's message font, the one the system links to a font with Japanese glyphs; `height` in
// pixels replaces its own when not 0.
FontHandle messageFont(int height = 0, int weight = 0) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) font = metrics.lfMessageFont;
  else font.lfHeight = -12;
  if (height) font.lfHeight = -height;
  if (weight) font.lfWeight = weight;
  return FontHandle(CreateFontIndirectW(&font));
}

void drawText(HDC dc, const std::string& cp932, const Rect& r, COLORREF colour, UINT format) {
  if (r.empty()) return;
  const std::wstring text = toWide(cp932);
  RECT box = rectOf(r);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
            format | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
}

// A triangle pointing along the bar: back (up or left) or forward (down or right), with a bar across
// its tip for a group switch button.
void drawArrow(Canvas& canvas, const Rect& button, bool across, bool forward, bool group, COLORREF colour) {
  const int size = std::min(button.width(), button.height()) / 3;
  if (size < 2) return;
  const int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
  // Row i of the triangle, from its tip: 2i+1 pixels wide.
  for (int i = 0; i < size; ++i) {
    const int at = forward ? -size / 2 + (size - 1 - i) : -size / 2 + i;
    if (across) canvas.fill(Rect{cx + at, cy - i, cx + at + 1, cy + i + 1}, colour);
    else canvas.fill(Rect{cx - i, cy + at, cx + i + 1, cy + at + 1}, colour);
  }
  if (!group) return;
  const int tip = forward ? size - size / 2 : -size / 2 - 2;
  if (across) canvas.fill(Rect{cx + tip, cy - size + 1, cx + tip + 2, cy + size}, colour);
  else canvas.fill(Rect{cx - size + 1, cy + tip, cx + size, cy + tip + 2}, colour);
}

void paintDragBar(Canvas& canvas, const PadPaint& paint, COLORREF back, HFONT nameFont) {
  const PadLayout& layout = paint.layout;
  if (layout.dragBar.empty()) return;
  const COLORREF bar = toneOf(back, 90);
  const bool across = layout.dragSide == Side::Top || layout.dragSide == Side::Bottom;
  canvas.gradient(layout.dragBar, toneOf(back, 120), bar, across);
  const Rect& text = layout.groupNameText;
  if (text.empty()) {
    // No name: a grip of three dots in the middle shows where to take hold.
    const int cx = (layout.dragBar.left + layout.dragBar.right) / 2, cy = (layout.dragBar.top + layout.dragBar.bottom) / 2;
    for (int i = -1; i <= 1; ++i) {
      const int x = across ? cx + 5 * i : cx, y = across ? cy : cy + 5 * i;
      canvas.fill(Rect{x - 1, y - 1, x + 1, y + 1}, textOn(bar));
    }
    return;
  }
  HDC dc = canvas.dc();
  SelectedObject font(dc, nameFont);
  if (layout.groupNameAcross) {
    drawText(dc, paint.groupName, text, textOn(bar), DT_LEFT);
    return;
  }
  // Down an upright bar the name is written as Japanese is written downwards: one upright character
  // under the other, as many as the bar holds.
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int line = std::max<int>(1, metrics.tmHeight);
  const std::string& name = paint.groupName;
  int top = text.top;
  for (std::size_t i = 0; i < name.size() && top + line <= text.bottom; top += line) {
    const bool twoBytes = isLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size();
    const std::size_t length = twoBytes ? 2 : 1;
    drawText(dc, name.substr(i, length), Rect{text.left, top, text.right, top + line}, textOn(bar), DT_CENTER);
    i += length;
  }
}

void paintScrollBar(Canvas& canvas, const PadLayout& layout, COLORREF back, COLORREF button, COLORREF focus) {
  const ScrollParts& s = layout.scroll;
  if (s.bar.empty()) return;
  canvas.fill(s.bar, mix(toneOf(back, 40), button, 70));
  if (!s.thumb.empty()) {
    const Rect thumb{s.thumb.left + (s.across ? 0 : 1), s.thumb.top + (s.across ? 1 : 0), s.thumb.right - (s.across ? 0 : 1),
                     s.thumb.bottom - (s.across ? 1 : 0)};
    canvas.fill(thumb, button);
    canvas.raised(thumb, button);
  }
  const COLORREF arrow = textOn(button);
  for (const auto& [part, forward] : {std::pair{s.back, false}, std::pair{s.forward, true}}) {
    if (part.empty()) continue;
    canvas.fill(part, button);
    canvas.raised(part, button);
    drawArrow(canvas, part, s.across, forward, false, arrow);
  }
  const COLORREF groupFace = mix(button, focus, 110);
  for (const auto& [part, forward] : {std::pair{s.groupBack, false}, std::pair{s.groupForward, true}}) {
    if (part.empty()) continue;
    canvas.fill(part, groupFace);
    canvas.raised(part, groupFace);
    drawArrow(canvas, part, s.across, forward, true, textOn(groupFace));
  }
}

void paintIcon(Canvas& canvas, const ButtonBox& box, HFONT glyphFont) {
  const Rect& r = box.icon;
  if (r.empty()) return;
  const std::size_t kind = static_cast<std::size_t>(box.number) % kIconColours.size();
  const COLORREF colour = kIconColours[kind];
  const int side = std::min(r.width(), r.height());
  canvas.roundedSquare(r, colour, std::max(1, side / 5));
  // A soft highlight on the upper half, as icons have.
  canvas.blend(Rect{r.left + side / 8, r.top + 1, r.right - side / 8, r.top + side / 2}, RGB(0xFF, 0xFF, 0xFF), 40);
  if (!glyphFont) return;
  HDC dc = canvas.dc();
  SelectedObject font(dc, glyphFont);
  // The first character of the caption: one double-byte character, or one byte.
  const std::string caption = kCaptions[kind];
  const bool twoBytes = isLeadByte(static_cast<unsigned char>(caption[0])) && caption.size() > 1;
  RECT box2 = rectOf(r);
  const std::wstring glyph = toWide(caption.substr(0, twoBytes ? 2 : 1));
  SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
  DrawTextW(dc, glyph.c_str(), static_cast<int>(glyph.size()), &box2, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void paintButtons(Canvas& canvas, const PadPaint& paint, HFONT captionFont, HFONT glyphFont) {
  const PadLook& look = paint.look;
  const COLORREF back = colourOf(look.backColor), button = colourOf(look.buttonColor), focus = colourOf(look.focusColor);
  HDC dc = canvas.dc();
  SelectedObject font(dc, captionFont);
  for (const ButtonBox& box : paint.layout.buttons) {
    const bool selected = box.number == paint.selected;
    // Unless it covers the whole button, the selection colour is the selected button's own colour.
    const COLORREF face = selected && !look.selectionCovers ? focus : button;
    COLORREF under = face;
    if (look.transparent && !(selected && !look.selectionCovers)) {
      // A transparent button is a tint over the workspace and its wallpaper, with a faint outline.
      canvas.blend(box.face, face, 64);
      if (box.face.width() >= 6 && box.face.height() >= 6) canvas.frame(box.face, face, 150);
      under = mix(back, face, 64);
    } else {
      canvas.fill(box.face, face);
      canvas.raised(box.face, face);
    }
    paintIcon(canvas, box, glyphFont);
    if (!box.caption.empty()) {
      const std::string caption = kCaptions[static_cast<std::size_t>(box.number) % kCaptions.size()];
      drawText(dc, caption, box.caption, textOn(under), look.caption == CaptionPlace::Below ? DT_CENTER : DT_LEFT);
    }
    if (selected && look.selectionCovers) {
      // The selection lies over the whole button, icon and caption included.
      canvas.blend(box.face, focus, 110);
      canvas.frame(box.face, focus);
    }
  }
}

void paintHidden(Canvas& canvas, const PadPaint& paint) {
  const PadLayout& layout = paint.layout;
  const COLORREF colour = colourOf(paint.look.hideColor);
  canvas.fill(layout.hiddenBar, colour);
  if (layout.hiddenBar.height() >= 4) canvas.frame(layout.hiddenBar, toneOf(colour, 80));
  if (layout.hiddenText.empty()) return;
  // The name as tall as the strip allows, never taller than captions are.
  const int height = std::min(captionTextHeight(), layout.hiddenText.height() - 1);
  if (height < 9) return;
  const FontHandle font = messageFont(height);
  HDC dc = canvas.dc();
  SelectedObject select(dc, font.get());
  drawText(dc, paint.groupName, layout.hiddenText, textOn(colour), DT_LEFT);
}

}  // namespace

COLORREF colourOf(int32_t value) {
  if (value < 0) return GetSysColor(value & 0xFF);
  return static_cast<COLORREF>(value) & 0x00FFFFFF;
}

HBITMAP WallPaperCache::bitmap(const std::string& path) {
  if (!tried_ || path != path_) {
    path_ = path;
    tried_ = true;
    bitmap_.reset();
    if (auto wide = toWideExact(path); wide && !path.empty())
      bitmap_ = BitmapHandle(static_cast<HBITMAP>(
          LoadImageW(nullptr, wide->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  }
  return bitmap_.get();
}

int captionTextHeight() {
  const FontHandle font = messageFont();
  const WindowDc screen(nullptr);
  if (!screen.get() || !font) return 13;
  SelectedObject select(screen.get(), font.get());
  TEXTMETRICW metrics{};
  return GetTextMetricsW(screen.get(), &metrics) ? std::clamp<int>(metrics.tmHeight, 8, 40) : 13;
}

void paintPad(HDC dc, const PadPaint& paint, WallPaperCache& wallPapers) {
  const PadLayout& layout = paint.layout;
  const PadLook& look = paint.look;
  const int width = layout.client.width, height = layout.client.height;
  if (width <= 0 || height <= 0) return;
  Canvas canvas(dc, width, height);
  const COLORREF back = colourOf(look.backColor);
  if (!canvas.ready()) {
    // No memory for the picture: the workspace colour at least.
    const BrushHandle brush(CreateSolidBrush(layout.hidden ? colourOf(look.hideColor) : back));
    const RECT all{0, 0, width, height};
    if (brush) FillRect(dc, &all, brush.get());
    return;
  }
  const int savedBackMode = SetBkMode(canvas.dc(), TRANSPARENT);
  if (layout.hidden) {
    paintHidden(canvas, paint);
  } else {
    canvas.fill(Rect{0, 0, width, height}, back);
    if (HBITMAP wallPaper = wallPapers.bitmap(look.wallPaper); wallPaper && !layout.workspace.empty()) {
      BITMAP info{};
      MemoryDcHandle source(CreateCompatibleDC(dc));
      if (source && GetObjectW(wallPaper, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight != 0) {
        SelectedObject select(source.get(), wallPaper);
        SetStretchBltMode(canvas.dc(), HALFTONE);
        SetBrushOrgEx(canvas.dc(), 0, 0, nullptr);
        const Rect& w = layout.workspace;
        StretchBlt(canvas.dc(), w.left, w.top, w.width(), w.height(), source.get(), 0, 0, info.bmWidth,
                   std::abs(info.bmHeight), SRCCOPY);
      }
    }
    const FontHandle captionFont = messageFont();
    const FontHandle nameFont = messageFont(0, FW_BOLD);
    // The glyph fills about two thirds of the icon; too small an icon shows its colour only.
    const FontHandle glyphFont = layout.iconSize >= 12 ? messageFont(layout.iconSize * 2 / 3, FW_BOLD) : FontHandle();
    paintDragBar(canvas, paint, back, nameFont.get());
    paintScrollBar(canvas, layout, back, colourOf(look.buttonColor), colourOf(look.focusColor));
    paintButtons(canvas, paint, captionFont.get(), glyphFont.get());
  }
  SetBkMode(canvas.dc(), savedBackMode);
  GdiFlush();
  BitBlt(dc, 0, 0, width, height, canvas.dc(), 0, 0, SRCCOPY);
}

}  // namespace lumisk::host
