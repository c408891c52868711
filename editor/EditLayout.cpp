#include "editor/EditLayout.h"

#include <algorithm>

namespace lumisk {
namespace {

LayoutRect rect(int left, int top, int right, int bottom) {
  return {left, top, std::max(left, right), std::max(top, bottom)};
}

LayoutRect inset(const LayoutRect& r, int by) { return rect(r.left + by, r.top + by, r.right - by, r.bottom - by); }

// Takes a strip of `height` off the top of `area` and returns it; `area` keeps the rest.
LayoutRect takeTop(LayoutRect& area, int height) {
  const int bottom = std::min(area.bottom, area.top + height);
  const LayoutRect strip = rect(area.left, area.top, area.right, bottom);
  area.top = bottom;
  return strip;
}

LayoutRect takeBottom(LayoutRect& area, int height) {
  const int top = std::max(area.top, area.bottom - height);
  const LayoutRect strip = rect(area.left, top, area.right, area.bottom);
  area.bottom = top;
  return strip;
}

LayoutRect takeLeft(LayoutRect& area, int width) {
  const int right = std::min(area.right, area.left + width);
  const LayoutRect strip = rect(area.left, area.top, right, area.bottom);
  area.left = right;
  return strip;
}

}  // namespace

EditLayout computeEditLayout(int clientWidth, int clientHeight, bool statusBarVisible) {
  EditLayout l;
  LayoutRect client = rect(0, 0, std::max(0, clientWidth), std::max(0, clientHeight));

  l.pnBottom = takeBottom(client, kBottomPanelHeight);
  l.pnTop = client;
  const int buttonTop = l.pnBottom.top + kButtonTop;
  // The buttons keep their distance from the left edge whatever the width.
  l.btOK = rect(kOkButtonLeft, buttonTop, kOkButtonLeft + kButtonWidth, buttonTop + kButtonHeight);
  l.btCamcel = rect(kCancelButtonLeft, buttonTop, kCancelButtonLeft + kButtonWidth, buttonTop + kButtonHeight);

  LayoutRect inner = inset(l.pnTop, kTopBevel);
  if (statusBarVisible) {
    l.statusBand = takeBottom(inner, kStatusBandHeight);
    l.statusBar = inset(l.statusBand, kStatusBarBorder);
  }

  l.pnLeft = takeLeft(inner, kLeftPanelWidth);
  l.pnRight = inner;

  LayoutRect left = inset(l.pnLeft, kPanelBorder);
  l.lbDesign = takeTop(left, kLabelHeight);
  l.designList = left;

  LayoutRect right = inset(l.pnRight, kPanelBorder);
  l.lbValue = takeTop(right, kLabelHeight);
  l.pnRBottom = right;

  LayoutRect sunken = inset(l.pnRBottom, kSunkenBevel);
  l.header = takeTop(sunken, kHeaderHeight);
  l.valList = sunken;
  return l;
}

}  // namespace lumisk
