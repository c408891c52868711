#include "editor/value/PictureDialog.h"

#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "store/Cp932Path.h"
#include "win32/Cp932.h"
#include "win32/DialogBase.h"
#include "win32/DialogTemplate.h"
#include "win32/FileDialogs.h"
#include "win32/GuiHandles.h"
#include "win32/MessageBoxes.h"
#include "win32/ThrowPoint.h"

namespace lumisk {
namespace {

constexpr std::size_t kPathBufferChars = 32768;
constexpr const char* kPathNotCp932 =
    "選択されたファイルのパスには、シフトJIS(コードページ932)で表せない文字が含まれているため、使用できません。";

// The preview beside the standard controls: the standard block sits in stc32, and everything right of it
// moves along when the dialog grows that block to its real size.
DialogTemplate previewTemplate() {
  DialogTemplate t(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, 96, 130, L"", 8,
                   L"MS Shell Dlg");
  // As tall as the preview, so that the preview only moves right when the standard block grows.
  t.add(DialogTemplate::kStatic, stc32, 0, 0, 0, 1, 130, L"");
  t.add(DialogTemplate::kStatic, 0xFFFF, SS_LEFT, 6, 8, 84, 10, toWide("プレビュー"));
  t.add(DialogTemplate::kStatic, kPicturePreviewId, SS_OWNERDRAW, 6, 20, 84, 84, L"");
  t.add(DialogTemplate::kStatic, kPictureSizeId, SS_CENTER | SS_NOPREFIX, 6, 108, 84, 10, L"");
  return t;
}

// The preview beside the file dialog's standard controls, for one run of the dialog: it serves the
// child dialog through the file dialog's hook.
class PicturePreview : public DialogBase {
 public:
  explicit PicturePreview(std::wstring initialPath) : initialPath_(std::move(initialPath)) {}

 private:
  INT_PTR onMessage(UINT message, WPARAM, LPARAM lParam) override {
    throwPoint("PictureDialog.previewHook");
    if (message == WM_NOTIFY) {
      const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
      if (note->hdr.code == CDN_INITDONE) show(initialPath_);
      if (note->hdr.code == CDN_SELCHANGE) show(selectedPath());
      return 0;
    }
    if (message == WM_DRAWITEM) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != static_cast<UINT>(kPicturePreviewId)) return 0;
      draw(*item);
      SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    return 0;
  }

  // After a failure of its own the preview stays out of the dialog's way: a failure that repeats on
  // every repaint is told once, and the standard controls go on choosing a file.
  INT_PTR onFailure(UINT, const char* text) noexcept override {
    goQuiet();
    reportFailure(hwnd(), text);
    return 0;
  }

  std::wstring selectedPath() const {
    std::vector<wchar_t> buffer(kPathBufferChars);
    const LRESULT length = SendMessageW(GetParent(hwnd()), CDM_GETFILEPATH, buffer.size(),
                                        reinterpret_cast<LPARAM>(buffer.data()));
    if (length <= 0 || static_cast<std::size_t>(length) > buffer.size()) return {};
    return std::wstring(buffer.data());
  }

  void show(const std::wstring& path) {
    bitmap_ = BitmapHandle();
    width_ = height_ = 0;
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      bitmap_ = BitmapHandle(static_cast<HBITMAP>(
          LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
      BITMAP info{};
      if (bitmap_ && GetObjectW(bitmap_.get(), sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = std::abs(info.bmHeight);
      } else {
        bitmap_ = BitmapHandle();
      }
    }
    SetDlgItemTextW(hwnd(), kPictureSizeId, bitmap_ ? toWide(pictureSizeText(width_, height_)).c_str() : L"");
    InvalidateRect(GetDlgItem(hwnd(), kPicturePreviewId), nullptr, TRUE);
  }

  // The bitmap fitted into the frame, its proportions kept; a small one is not enlarged.
  void draw(const DRAWITEMSTRUCT& item) const {
    RECT frame = item.rcItem;
    FillRect(item.hDC, &frame, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &frame, EDGE_SUNKEN, BF_RECT);
    if (!bitmap_ || width_ <= 0 || height_ <= 0) return;
    const int roomX = std::max(0, static_cast<int>(frame.right - frame.left) - 6);
    const int roomY = std::max(0, static_cast<int>(frame.bottom - frame.top) - 6);
    const double scale = std::min({1.0, static_cast<double>(roomX) / width_, static_cast<double>(roomY) / height_});
    const int w = std::max(1, static_cast<int>(width_ * scale));
    const int h = std::max(1, static_cast<int>(height_ * scale));
    const int x = frame.left + (frame.right - frame.left - w) / 2;
    const int y = frame.top + (frame.bottom - frame.top - h) / 2;
    MemoryDcHandle source(CreateCompatibleDC(item.hDC));
    if (!source) return;
    SelectedObject picture(source.get(), bitmap_.get());
    const int oldMode = SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, x, y, w, h, source.get(), 0, 0, width_, height_, SRCCOPY);
    SetStretchBltMode(item.hDC, oldMode);
  }

  std::wstring initialPath_;
  BitmapHandle bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace

std::string pictureSizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::optional<std::string> showPictureDialog(HWND owner, const std::string& fieldText) {
  const DialogTemplate preview = previewTemplate();
  PicturePreview state(toWide(fieldText));
  FileDialogRequest request;
  request.title = "ファイル名指定";
  request.filter = "ビットマップファイル(*.bmp)|*.bmp|すべてのファイル(*.*)|*.*";
  request.defaultExtension = "bmp";
  request.initialFolder = std::string(folderPart(fieldText));
  request.fileName = fieldText;
  request.flags = OFN_ENABLESIZING | OFN_HIDEREADONLY;
  request.childTemplate = preview.get();
  request.hook = &DialogBase::fileDialogHook;
  request.hookData = state.hookData();

  FileDialogAnswer answer = showOpenFileDialog(owner, request);
  // A field that holds no valid file name still opens the dialog, with an empty name.
  if (answer.failure == FNERR_INVALIDFILENAME) {
    request.fileName.clear();
    answer = showOpenFileDialog(owner, request);
  }
  // The design keeps its text in code page 932: such a path could only be stored damaged.
  if (answer.pathNotCp932) plainBox(owner, kPathNotCp932);
  if (answer.failure != 0 && answer.failure != FNERR_INVALIDFILENAME) {
    throw win32Error("GetOpenFileName", answer.failure);
  }
  return answer.path;
}

}  // namespace lumisk
