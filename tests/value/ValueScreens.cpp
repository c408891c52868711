// Shows one form of the value dialog, or the clear command's question, for a few seconds so that a
// screenshot can be taken (tests/value/screens.sh). Argument: list, size, number, path, picture or clear.
#include <windows.h>

#include <string>

#include "editor/value/ValueEdit.h"
#include "editor/value/ValueEditing.h"
#include "editor/value/ValueForm.h"
#include "editor/IconImages.h"
#include "win32/Cp932.h"
#include "win32/Win32Prompts.h"

namespace {

using namespace lumisk;

constexpr UINT kShowMs = 4000;
std::wstring gMode;

BOOL CALLBACK closeDialog(HWND hwnd, LPARAM) {
  if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

BOOL CALLBACK openList(HWND hwnd, LPARAM) {
  if (HWND combo = GetDlgItem(hwnd, TValueForm::kValueId)) SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  return TRUE;
}

void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
  static int ticks = 0;
  ++ticks;
  if (ticks == 1 && (gMode == L"list" || gMode == L"size")) {
    EnumThreadWindows(GetCurrentThreadId(), openList, 0);
  }
  if (ticks * 200 >= static_cast<int>(kShowMs)) {
    KillTimer(nullptr, id);
    EnumThreadWindows(GetCurrentThreadId(), closeDialog, 0);
  }
}

// A 96 x 64 colour gradient in the temporary folder, for the preview.
std::string sampleBitmap() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"lumisk-sample.bmp";
  const int width = 96, height = 64, stride = width * 3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bytes += static_cast<char>(255 * y / height);
      bytes += static_cast<char>(128);
      bytes += static_cast<char>(255 * x / width);
    }
  }
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);
  return toCp932(path).value();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  gMode = commandLine;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const ImageListHandle images = createIconImageList();
  HWND owner = CreateWindowExW(0, L"STATIC", L"editor", WS_OVERLAPPEDWINDOW, 0, 0, 400, 350, nullptr, nullptr,
                               instance, nullptr);
  ColourDialogState colours;
  Win32ValueDialogs dialogs(owner, instance, images.get(), 15, colours);
  SetTimer(nullptr, 0, 200, tick);

  TDesign design = TDesign::unset();
  design.intValues[12] = 2;   // BtnCaption: the icon beside the right option
  design.intValues[10] = 30;  // BtnWidth
  design.intValues[22] = 12;  // Rows
  design.intValues[1] = 2;    // DragBar
  design.intValues[2] = 1;    // GroupName
  design.intValues[21] = 8;   // Cols
  design.wallPaper() = "C:\\壁紙\\表紙.bmp";
  if (gMode == L"list") modifyValue(design, 9, dialogs);
  if (gMode == L"size") modifyValue(design, 6, dialogs);
  if (gMode == L"number") modifyValue(design, 2, dialogs);
  if (gMode == L"path") modifyValue(design, 25, dialogs);
  if (gMode == L"picture") dialogs.runPictureDialog(sampleBitmap());
  if (gMode == L"clear") {
    // The clear command as the editor runs it, with the plug-in's own confirmation box.
    Win32Prompts prompts(instance);
    prompts.setOwner(owner);
    RowSelection rows{};
    rows[1] = rows[14] = true;
    clearValues(design, rows, prompts);
  }
  DestroyWindow(owner);
  return 0;
}
