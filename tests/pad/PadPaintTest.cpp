// Painting pads for real under Wine: every example design and a set of absurd values, shown and hidden,
// into a memory DC. Nothing may crash, every GDI object the painter makes must be gone afterwards, the
// DC must keep what was selected into it, and the colours must land where the settings say.
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "host/pads/PadLayout.h"
#include "host/pads/PadPainter.h"
#include "store/DesignFile.h"
#include "win32/Cp932.h"
#include "win32/Win32Collation.h"
#include "win32/Win32FileAccess.h"

namespace lumisk::host {
namespace {

// GDI objects of this process. GetGuiResources answers 0 under Wine; there the process's handle table,
// which Windows and Wine both map for the process, is counted instead, stock objects left out.
int liveGdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted > 0) return static_cast<int>(counted);
  struct Entry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  using Query = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<const Entry* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
  if (!table) return -1;
  int live = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i].type != 0 && !(table[i].unique & 0x80)) ++live;
  return live;
}

// The Windows name of a file of the source tree (Wine shows the Unix root as drive Z:).
std::string sourcePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

DesignList exampleDesigns() {
  Win32FileAccess files;
  Win32Collation collation;
  DesignList list;
  for (const char* name : {"lumisk.ini", "sample.dsg"}) {
    const TMemIniFile file(sourcePath(std::string(LUMISK_EXAMPLES_DIR) + "/" + name), files, collation);
    loadDesigns(file, list);
  }
  return list;
}

// The first start pad with `design` applied as the plug-in applies it: every value the design carries.
Pad padWithDesign(const TDesign& design) {
  Pad pad = PadBoard().pads()[0];
  for (int k = 0; k < kIntKeyCount; ++k)
    if (design.intValues[k] != kUnsetInt) pad.values[static_cast<std::size_t>(k)] = std::to_string(design.intValues[k]);
  if (design.wallPaper() != kUnsetText) pad.values[kIntKeyCount] = design.wallPaper();
  return pad;
}

Pad padWith(std::initializer_list<std::pair<const char*, const char*>> values) {
  Pad pad = PadBoard().pads()[0];
  for (const auto& [key, value] : values) pad.values[static_cast<std::size_t>(PadBoard::keyIndex(key))] = value;
  return pad;
}

// A memory DC with a 32-bit bitmap to paint into, released with the object.
class Target {
 public:
  Target(int width, int height) {
    screen_ = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen_);
    bitmap_ = CreateCompatibleBitmap(screen_, width, height);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Target() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    ReleaseDC(nullptr, screen_);
  }
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC screen_ = nullptr, dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

LayoutLimits testLimits() {
  LayoutLimits limits;
  limits.maxWidth = 1600;
  limits.maxHeight = 1200;
  limits.textHeight = captionTextHeight();
  return limits;
}

struct Painted {
  PadLayout layout;
  std::unique_ptr<Target> target;
};

// Paints `pad` with button `selected` selected and checks that the DC keeps its own objects.
Painted paint(const Pad& pad, WallPaperCache& cache, int selected = 0) {
  const PadLook look = lookOf(pad);
  Painted out{layoutPad(look, testLimits()), nullptr};
  out.target = std::make_unique<Target>(out.layout.client.width, out.layout.client.height);
  HDC dc = out.target->dc();
  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT), brush = GetCurrentObject(dc, OBJ_BRUSH),
                pen = GetCurrentObject(dc, OBJ_PEN), bitmap = GetCurrentObject(dc, OBJ_BITMAP);
  const COLORREF text = GetTextColor(dc);
  const int mode = GetBkMode(dc);
  paintPad(dc, PadPaint{out.layout, look, pad.group, selected}, cache);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
  EXPECT_EQ(GetTextColor(dc), text);
  EXPECT_EQ(GetBkMode(dc), mode);
  return out;
}

// A bitmap file of one colour, deleted with the object.
class SolidBitmapFile {
 public:
  SolidBitmapFile(COLORREF colour) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + L"lumisk-pad-paint-" + std::to_wstring(GetCurrentProcessId()) + L".bmp";
    constexpr int kSide = 4;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = info.biHeight = kSide;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::string pixels;
    for (int i = 0; i < kSide * kSide; ++i) {
      pixels += static_cast<char>(GetBValue(colour));
      pixels += static_cast<char>(GetGValue(colour));
      pixels += static_cast<char>(GetRValue(colour));
    }
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes += pixels;
    HANDLE out = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
  }
  ~SolidBitmapFile() { DeleteFileW(path_.c_str()); }
  std::string path() const { return toCp932(path_).value_or(""); }

 private:
  std::wstring path_;
};

TEST(PadPaintTest, EveryExampleDesignAndEveryAbsurdValuePaintsAndLeavesNothingBehind) {
  const DesignList designs = exampleDesigns();
  ASSERT_GE(designs.count(), 7u);
  std::vector<Pad> pads;
  int wallPapers = 0;
  for (std::size_t i = 0; i < designs.count(); ++i) {
    pads.push_back(padWithDesign(designs.design(i)));
    if (!lookOf(pads.back()).wallPaper.empty()) ++wallPapers;
  }
  EXPECT_GE(wallPapers, 2) << "example designs with a wallpaper";
  const char* const huge = "2147483647";
  const char* const least = "-2147483648";
  for (const char* v : {huge, least, "0", "-1"}) {
    Pad pad = PadBoard().pads()[0];
    for (int k = 0; k < kIntKeyCount; ++k) pad.values[static_cast<std::size_t>(k)] = v;
    pads.push_back(pad);
  }
  pads.push_back(padWith({{"Cols", "200"}, {"Rows", "150"}, {"BtnWidth", "8"}, {"BtnHeight", "8"}, {"BtnCaption", "1"}}));
  pads.push_back(padWith({{"Cols", "200"}, {"Rows", "150"}, {"BtnWidth", "256"}, {"BtnSquare", "1"}, {"DragBar", "3"},
                          {"DragBarSize", "100000"}, {"GroupName", "1"}, {"ScrollBar", "4"}, {"ScrollSize", "100"},
                          {"ScrollBtn", "1"}, {"GroupBtn", "1"}}));
  pads.push_back(padWith({{"BtnColor", "-16"}, {"BackColor", "-2147483647"}, {"BtnFocusColor", "-1"},
                          {"BtnTransparent", "1"}, {"BtnSelTransparent", "1"}, {"BtnCaption", "2"}}));
  for (const char* wall : {"Z:\\no\\such\\file.bmp", "", "-", "\x81", LUMISK_EXAMPLES_DIR, "C:\\壁紙\\表紙.bmp"})
    pads.push_back(padWith({{"WallPaper", wall}}));
  // A file that is no bitmap.
  pads.push_back(padWith({{"WallPaper", (sourcePath(LUMISK_EXAMPLES_DIR) + "\\lumisk.ini").c_str()}}));

  // Every pad shown with several selections, then hidden, each with a wallpaper cache of its own, as
  // its window has.
  auto paintAll = [&pads] {
    for (std::size_t i = 0; i < pads.size(); ++i) {
      SCOPED_TRACE("pad " + std::to_string(i));
      WallPaperCache cache;
      Pad pad = pads[i];
      for (int selected : {0, 3, -1, 1000000}) paint(pad, cache, selected);
      pad.hidden = true;
      EXPECT_TRUE(paint(pad, cache).layout.hidden);
    }
  };
  // The first round brings the system's own objects into being (cached DCs, linked fonts): count after it.
  paintAll();
  const int before = liveGdiObjects();
  ASSERT_GT(before, 0) << "GDI objects cannot be counted here";
  paintAll();
  EXPECT_EQ(liveGdiObjects(), before);
}

TEST(PadPaintTest, ColoursLandWhereTheSettingsSay) {
  constexpr COLORREF kBack = RGB(0x10, 0x20, 0x30), kButton = RGB(0xC0, 0x80, 0x40), kFocus = RGB(0x00, 0xFF, 0x00),
                     kHide = RGB(0xAA, 0x00, 0xAA);
  auto pad = [&](const char* transparent, const char* covers) {
    Pad p = padWith({{"Cols", "2"}, {"Rows", "1"}, {"BtnWidth", "8"}, {"BtnHeight", "8"}, {"DragBar", "0"}, {"ScrollBar", "0"},
                     {"BtnTransparent", transparent}, {"BtnSelTransparent", covers}, {"WallPaper", ""}});
    p.values[13] = std::to_string(kBack);
    p.values[14] = std::to_string(kButton);
    p.values[15] = std::to_string(kFocus);
    p.values[16] = std::to_string(kHide);
    return p;
  };
  WallPaperCache cache;
  // Two 8 x 8 buttons (no icon fits) in the window's smallest client area, 40 x 24: the workspace shows
  // beside and below them; (4, 4) lies inside the first button, (12, 4) inside the second.
  {
    const Painted plain = paint(pad("0", "0"), cache, 0);
    EXPECT_EQ(plain.target->at(30, 20), kBack);
    EXPECT_EQ(plain.target->at(4, 4), kFocus) << "the selected button in its own colour";
    EXPECT_EQ(plain.target->at(12, 4), kButton);
  }
  {
    const Painted covered = paint(pad("0", "1"), cache, 1);
    EXPECT_EQ(covered.target->at(4, 4), kButton) << "not selected";
    const COLORREF cover = covered.target->at(12, 4);
    EXPECT_NE(cover, kButton);
    EXPECT_NE(cover, kFocus);
    EXPECT_GT(GetGValue(cover), GetGValue(kButton)) << "the selection colour lies over the button";
    EXPECT_LT(GetRValue(cover), GetRValue(kButton));
  }
  {
    const Painted glass = paint(pad("1", "1"), cache, -1);
    const COLORREF tint = glass.target->at(4, 4);
    EXPECT_GT(GetRValue(tint), GetRValue(kBack)) << "a transparent button is a tint of the workspace";
    EXPECT_LT(GetRValue(tint), GetRValue(kButton));
    EXPECT_GT(GetGValue(tint), GetGValue(kBack));
    EXPECT_LT(GetGValue(tint), GetGValue(kButton));
  }
  {
    Pad hidden = pad("0", "0");
    hidden.values[20] = "10";  // HideSize
    hidden.values[19] = "0";   // HideGroupName
    hidden.hidden = true;
    const Painted strip = paint(hidden, cache);
    EXPECT_EQ(strip.layout.client, (Extent{40, 10}));
    EXPECT_EQ(strip.target->at(20, 5), kHide);
  }
  {
    Pad bar = pad("0", "0");
    bar.values[1] = "2";   // DragBar at the top
    bar.values[3] = "10";  // DragBarSize
    const Painted withBar = paint(bar, cache);
    EXPECT_EQ(withBar.layout.dragBar, (Rect{0, 0, 40, 10}));
    EXPECT_NE(withBar.target->at(20, 5), kBack) << "the drag bar stands out of the workspace";
    EXPECT_EQ(withBar.target->at(30, 20), kBack);
  }
  {
    // A wallpaper lies over the workspace colour, behind the buttons.
    const SolidBitmapFile red(RGB(0xFF, 0, 0));
    Pad walled = pad("0", "0");
    walled.values[23] = red.path();
    WallPaperCache wallCache;
    const Painted withWall = paint(walled, wallCache);
    EXPECT_EQ(withWall.target->at(30, 20), RGB(0xFF, 0, 0));
    EXPECT_EQ(withWall.target->at(12, 4), kButton);
  }
}

TEST(PadPaintTest, TheLargestPadPaintsInReasonableTime) {
  const Pad pad = padWith({{"Cols", "200"}, {"Rows", "150"}, {"BtnWidth", "8"}, {"BtnHeight", "8"}, {"BtnCaption", "0"},
                           {"DragBar", "0"}, {"ScrollBar", "0"}});
  WallPaperCache cache;
  LARGE_INTEGER frequency{}, start{}, end{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const Painted largest = paint(pad, cache);
  QueryPerformanceCounter(&end);
  const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("[ figures  ] %zu buttons in %d x %d painted in %.1f ms\n", largest.layout.buttons.size(),
              largest.layout.client.width, largest.layout.client.height, ms);
  EXPECT_EQ(largest.layout.buttons.size(), 200u * 150u);
  EXPECT_LT(ms, 5000.0);
}

}  // namespace
}  // namespace lumisk::host
