#include "host/pads/PadLayout.h"

#include <algorithm>

namespace lumisk::host {
namespace {

// Setting indexes in the key catalogue.
enum : int {
  kBtnVertical, kDragBar, kGroupName, kDragBarSize, kScrollBar, kScrollBtn, kGroupBtn, kScrollSize, kBtnSmallIcon,
  kBtnSquare, kBtnWidth, kBtnHeight, kBtnCaption, kBackColor, kBtnColor, kBtnFocusColor, kHideColor, kBtnTransparent,
  kBtnSelTransparent, kHideGroupName, kHideSize, kCols, kRows
};

// The option `value` names among `count` options, or the first one when it names none.
int option(const Pad& pad, int key, int count) {
  const int32_t value = pad.integer(key, 0);
  return value >= 0 && value < count ? value : 0;
}

bool on(const Pad& pad, int key) { return option(pad, key, 2) == 1; }

int clamped(const Pad& pad, int key, int fallback, int low, int high) {
  return std::clamp<int32_t>(pad.integer(key, fallback), low, high);
}

int thicknessOn(Side side, int thickness, Side wanted) { return side == wanted ? thickness : 0; }

// The band of `thickness` along `side` of `area`, which keeps what remains. Never more than `area` has.
Rect takeSide(Rect& area, Side side, int thickness) {
  Rect band = area;
  switch (side) {
    case Side::Left:
      band.right = area.left + std::min(thickness, area.width());
      area.left = band.right;
      break;
    case Side::Top:
      band.bottom = area.top + std::min(thickness, area.height());
      area.top = band.bottom;
      break;
    case Side::Right:
      band.left = area.right - std::min(thickness, area.width());
      area.right = band.left;
      break;
    case Side::Bottom:
      band.top = area.bottom - std::min(thickness, area.height());
      area.bottom = band.top;
      break;
    case Side::None:
      return Rect{};
  }
  return band;
}

Rect inset(const Rect& r, int dx, int dy) {
  Rect out{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
  return out.empty() ? Rect{} : out;
}

Rect intersect(const Rect& a, const Rect& b) {
  Rect out{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return out.empty() ? Rect{} : out;
}

Rect offset(const Rect& r, int dx, int dy) {
  return r.empty() ? Rect{} : Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The parts of the scroll bar along its length: group switch buttons at the very ends, scroll buttons
// inside them, the track between; every button a square of the bar's thickness while the track keeps
// at least its share.
ScrollParts scrollParts(const Rect& bar, Side side, bool scrollButtons, bool groupButtons) {
  ScrollParts parts;
  parts.bar = bar;
  if (bar.empty()) return parts;
  parts.across = side == Side::Top || side == Side::Bottom;
  const int length = parts.across ? bar.width() : bar.height();
  const int thickness = parts.across ? bar.height() : bar.width();
  const int count = (scrollButtons ? 2 : 0) + (groupButtons ? 2 : 0);
  const int button = count ? std::min(thickness, length / (count + 1)) : 0;
  // A stretch [from, to) along the bar.
  auto along = [&](int from, int to) {
    return parts.across ? Rect{bar.left + from, bar.top, bar.left + to, bar.bottom}
                        : Rect{bar.left, bar.top + from, bar.right, bar.top + to};
  };
  int start = 0, end = length;
  if (groupButtons && button > 0) {
    parts.groupBack = along(start, start + button);
    parts.groupForward = along(end - button, end);
    start += button;
    end -= button;
  }
  if (scrollButtons && button > 0) {
    parts.back = along(start, start + button);
    parts.forward = along(end - button, end);
    start += button;
    end -= button;
  }
  parts.track = along(start, end);
  // The thumb stands at the start: the pad shows its first buttons and there are more to scroll to.
  const int trackLength = end - start;
  const int thumb = std::min(trackLength, std::max(trackLength * 2 / 5, std::min(thickness, trackLength)));
  parts.thumb = along(start, start + thumb);
  if (parts.track.empty()) parts.track = parts.thumb = Rect{};
  return parts;
}

// Icon and caption inside a face of `width` x `height` at the origin.
struct FaceParts {
  Rect icon, caption;
};

FaceParts faceParts(int width, int height, const PadLook& look, int textHeight) {
  constexpr int kPadding = 2;
  constexpr int kMinIcon = 8;
  FaceParts parts;
  const Rect inner = inset(Rect{0, 0, width, height}, kPadding, kPadding);
  if (inner.empty()) return parts;
  const int nominal = look.smallIcon ? PadLook::kSmallIcon : PadLook::kBigIcon;
  const int cx = (inner.left + inner.right) / 2, cy = (inner.top + inner.bottom) / 2;
  switch (look.caption) {
    case CaptionPlace::None: {
      const int icon = std::min({nominal, inner.width(), inner.height()});
      if (icon >= kMinIcon) parts.icon = Rect{cx - icon / 2, cy - icon / 2, cx - icon / 2 + icon, cy - icon / 2 + icon};
      break;
    }
    case CaptionPlace::Below: {
      const int icon = std::min({nominal, inner.width(), inner.height() - textHeight - 1});
      if (icon < kMinIcon) {
        const int text = std::min(textHeight, inner.height());
        parts.caption = Rect{inner.left, cy - text / 2, inner.right, cy - text / 2 + text};
        break;
      }
      const int top = inner.top + (inner.height() - icon - 1 - textHeight) / 2;
      parts.icon = Rect{cx - icon / 2, top, cx - icon / 2 + icon, top + icon};
      parts.caption = Rect{inner.left, top + icon + 1, inner.right, top + icon + 1 + textHeight};
      break;
    }
    case CaptionPlace::Right: {
      const int icon = std::min({nominal, inner.width(), inner.height()});
      int textLeft = inner.left;
      if (icon >= kMinIcon) {
        parts.icon = Rect{inner.left, cy - icon / 2, inner.left + icon, cy - icon / 2 + icon};
        textLeft = parts.icon.right + 3;
      }
      // A caption narrower than one character would be all ellipsis.
      if (inner.right - textLeft >= textHeight) parts.caption = Rect{textLeft, inner.top, inner.right, inner.bottom};
      break;
    }
  }
  return parts;
}

}  // namespace

PadLook lookOf(const Pad& pad) {
  PadLook look;
  look.vertical = on(pad, kBtnVertical);
  look.dragBar = static_cast<Side>(option(pad, kDragBar, 5));
  look.groupName = on(pad, kGroupName);
  look.dragBarSize = clamped(pad, kDragBarSize, 12, PadLook::kMinBar, PadLook::kMaxBar);
  look.scrollBar = static_cast<Side>(option(pad, kScrollBar, 5));
  look.scrollButtons = on(pad, kScrollBtn);
  look.groupButtons = on(pad, kGroupBtn);
  look.scrollSize = clamped(pad, kScrollSize, 12, PadLook::kMinBar, PadLook::kMaxBar);
  look.smallIcon = on(pad, kBtnSmallIcon);
  look.buttonWidth = clamped(pad, kBtnWidth, 32, PadLook::kMinButton, PadLook::kMaxButton);
  look.buttonHeight =
      on(pad, kBtnSquare) ? look.buttonWidth : clamped(pad, kBtnHeight, 32, PadLook::kMinButton, PadLook::kMaxButton);
  look.caption = static_cast<CaptionPlace>(option(pad, kBtnCaption, 3));
  look.backColor = pad.integer(kBackColor, look.backColor);
  look.buttonColor = pad.integer(kBtnColor, look.buttonColor);
  look.focusColor = pad.integer(kBtnFocusColor, look.focusColor);
  look.hideColor = pad.integer(kHideColor, look.hideColor);
  look.transparent = on(pad, kBtnTransparent);
  look.selectionCovers = on(pad, kBtnSelTransparent);
  look.hideGroupName = on(pad, kHideGroupName);
  look.hideSize = clamped(pad, kHideSize, 6, PadLook::kMinHide, PadLook::kMaxHide);
  look.cols = clamped(pad, kCols, 1, 1, PadLook::kMaxCols);
  look.rows = clamped(pad, kRows, 1, 1, PadLook::kMaxRows);
  // "-" is how a design says "no value": never a file.
  look.wallPaper = pad.wallPaper() == "-" ? std::string() : pad.wallPaper();
  look.hidden = pad.hidden;
  return look;
}

PadLayout layoutPad(const PadLook& look, const LayoutLimits& limits) {
  const int maxWidth = std::clamp(limits.maxWidth, 1, LayoutLimits::kMaxSide);
  const int maxHeight = std::clamp(limits.maxHeight, 1, LayoutLimits::kMaxSide);
  const int minWidth = std::clamp(limits.minWidth, 0, maxWidth);
  const int minHeight = std::clamp(limits.minHeight, 0, maxHeight);
  const int textHeight = std::clamp(limits.textHeight, 1, 64);
  const int buttonWidth = std::clamp(look.buttonWidth, PadLook::kMinButton, PadLook::kMaxButton);
  const int buttonHeight = std::clamp(look.buttonHeight, PadLook::kMinButton, PadLook::kMaxButton);
  const Side dragSide = std::clamp(look.dragBar, Side::None, Side::Bottom);
  const Side scrollSide = std::clamp(look.scrollBar, Side::None, Side::Bottom);
  const int drag = dragSide == Side::None ? 0 : std::clamp(look.dragBarSize, PadLook::kMinBar, PadLook::kMaxBar);
  const int scroll = scrollSide == Side::None ? 0 : std::clamp(look.scrollSize, PadLook::kMinBar, PadLook::kMaxBar);

  const int barsAcross = thicknessOn(dragSide, drag, Side::Left) + thicknessOn(dragSide, drag, Side::Right) +
                         thicknessOn(scrollSide, scroll, Side::Left) + thicknessOn(scrollSide, scroll, Side::Right);
  const int barsDown = thicknessOn(dragSide, drag, Side::Top) + thicknessOn(dragSide, drag, Side::Bottom) +
                       thicknessOn(scrollSide, scroll, Side::Top) + thicknessOn(scrollSide, scroll, Side::Bottom);

  PadLayout layout;
  // The buttons that fit the largest window; at least one, even when it does not fit whole.
  layout.shownCols = std::clamp(std::max(0, maxWidth - barsAcross) / buttonWidth, 1, std::clamp(look.cols, 1, PadLook::kMaxCols));
  layout.shownRows = std::clamp(std::max(0, maxHeight - barsDown) / buttonHeight, 1, std::clamp(look.rows, 1, PadLook::kMaxRows));
  const int width = std::clamp(barsAcross + layout.shownCols * buttonWidth, minWidth, maxWidth);
  const int height = std::clamp(barsDown + layout.shownRows * buttonHeight, minHeight, maxHeight);

  if (look.hidden) {
    // Hidden, the pad shrinks to a strip as wide as it was, in its hidden colour.
    layout.hidden = true;
    layout.shownCols = layout.shownRows = 0;
    layout.client = Extent{width, std::min(std::clamp(look.hideSize, PadLook::kMinHide, PadLook::kMaxHide), maxHeight)};
    layout.hiddenBar = Rect{0, 0, layout.client.width, layout.client.height};
    // A name shorter than this cannot be read.
    if (look.hideGroupName && layout.client.height >= 10) layout.hiddenText = inset(layout.hiddenBar, 4, 0);
    return layout;
  }

  layout.client = Extent{width, height};
  Rect area{0, 0, width, height};
  layout.dragSide = dragSide;
  layout.dragBar = takeSide(area, dragSide, drag);
  if (look.groupName && !layout.dragBar.empty()) {
    layout.groupNameAcross = dragSide == Side::Top || dragSide == Side::Bottom;
    const int thickness = layout.groupNameAcross ? layout.dragBar.height() : layout.dragBar.width();
    // Text thinner than this cannot be read.
    if (thickness >= 10)
      layout.groupNameText = layout.groupNameAcross ? inset(layout.dragBar, 4, 0) : inset(layout.dragBar, 0, 4);
  }
  layout.scrollSide = scrollSide;
  layout.scroll = scrollParts(takeSide(area, scrollSide, scroll), scrollSide, look.scrollButtons, look.groupButtons);
  layout.workspace = area;

  // One arrangement of icon and caption, the same in every button: the face is the cell less a
  // one-pixel gap where the workspace shows, when the cell is big enough to spare it.
  const int gap = buttonWidth >= 16 && buttonHeight >= 16 ? 1 : 0;
  const Rect face{gap, gap, buttonWidth - gap, buttonHeight - gap};
  FaceParts parts = faceParts(face.width(), face.height(), look, textHeight);
  parts.icon = offset(parts.icon, gap, gap);
  parts.caption = offset(parts.caption, gap, gap);
  layout.iconSize = parts.icon.empty() ? 0 : parts.icon.width();

  const int count = layout.shownCols * layout.shownRows;
  layout.buttons.reserve(static_cast<std::size_t>(count));
  for (int n = 0; n < count; ++n) {
    const int col = look.vertical ? n / layout.shownRows : n % layout.shownCols;
    const int row = look.vertical ? n % layout.shownRows : n / layout.shownCols;
    const int x = area.left + col * buttonWidth, y = area.top + row * buttonHeight;
    ButtonBox box;
    box.number = n;
    // A button the window cannot hold whole is cut at the workspace's edge.
    box.face = intersect(offset(face, x, y), area);
    if (box.face.empty()) continue;
    box.icon = intersect(offset(parts.icon, x, y), box.face);
    box.caption = intersect(offset(parts.caption, x, y), box.face);
    layout.buttons.push_back(box);
  }
  return layout;
}

int buttonAt(const PadLayout& layout, int x, int y) {
  for (const ButtonBox& box : layout.buttons)
    if (box.face.contains(x, y)) return box.number;
  return -1;
}

}  // namespace lumisk::host
