#include "editor/IconImages.h"

#include <cstdint>
#include <stdexcept>

#include "editor/IconPictures.h"

namespace lumisk {
namespace {

// Stands for a transparent pixel in the strip handed to the image list; no picture uses it.
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

uint32_t dibPixel(char c) {
  const auto colour = iconPixelColour(c);
  if (!colour) return 0x00FF00FFu;  // the key colour in the DIB's 0x00RRGGBB order
  return *colour;
}

}  // namespace

ImageListHandle createIconImageList() {
  ImageListHandle list(ImageList_Create(kIconPixels, kIconPixels, ILC_COLOR24 | ILC_MASK, kIconCount, 0));
  if (!list) throw std::runtime_error("イメージリストを作成できません。");

  // One strip of all eight pictures side by side, top-down.
  constexpr int kStripWidth = kIconPixels * kIconCount;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kStripWidth;
  info.bmiHeader.biHeight = -kIconPixels;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapHandle strip(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!strip || !bits) throw std::runtime_error("イメージリストを作成できません。");

  auto* pixels = static_cast<uint32_t*>(bits);
  const auto& pictures = iconPictures();
  for (int icon = 0; icon < kIconCount; ++icon)
    for (int y = 0; y < kIconPixels; ++y)
      for (int x = 0; x < kIconPixels; ++x)
        pixels[y * kStripWidth + icon * kIconPixels + x] = dibPixel(pictures[icon][y][x]);
  GdiFlush();

  if (ImageList_AddMasked(list.get(), strip.get(), kTransparentKey) < 0 ||
      ImageList_GetImageCount(list.get()) != kIconCount)
    throw std::runtime_error("イメージリストを作成できません。");
  return list;
}

}  // namespace lumisk
