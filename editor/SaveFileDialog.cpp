#include "editor/SaveFileDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "win32/Cp932.h"

namespace lumisk {
namespace {

// Room for long paths: the dialog reports FNERR_BUFFERTOOSMALL rather than cutting a name.
constexpr DWORD kPathBuffer = 32768;
constexpr const char* kPathNotCp932 =
    "指定されたファイルのパスには、シフトJIS(コードページ932)で表せない文字が含まれているため、"
    "書き込めません。";

}  // namespace

std::optional<std::string> Win32SaveFileDialog::run(HWND owner, const SaveFileRequest& request) {
  // Pairs are separated by NULs, the list ends with two; "|" is replaced only after the conversion,
  // because its byte may be the second byte of a double-byte character.
  std::wstring filter = toWide(request.filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring title = toWide(request.title);
  const std::wstring extension = toWide(request.defaultExtension);
  const std::wstring folder = toWide(request.initialFolder);

  std::vector<wchar_t> path(kPathBuffer, L'\0');
  const std::wstring proposed = toWide(request.fileName);
  std::copy_n(proposed.begin(), std::min<std::size_t>(proposed.size(), kPathBuffer - 1), path.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = kPathBuffer;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  ofn.Flags = request.flags | OFN_EXPLORER;
  if (GetSaveFileNameW(&ofn)) {
    if (auto chosen = toCp932(path.data())) return chosen;
    throw std::runtime_error(kPathNotCp932);
  }
  if (CommDlgExtendedError() != 0) throw std::runtime_error("ファイルダイアログを表示できません。");
  return std::nullopt;
}

}  // namespace lumisk
