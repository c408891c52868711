// The open-file dialog behind the wallpaper field's "選択..." button: title "ファイル名指定", bitmap files
// first, default extension "bmp", and a preview of the selected bitmap with its size beside the list.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace lumisk {

// Runs the dialog modally over `owner` (disabled meanwhile). It opens in the folder part of `fieldText`
// (up to and including its last "\" or ":") with `fieldText` as the file name. The full path chosen, or
// std::nullopt when the person cancelled, and when the chosen path has a character that code page 932
// cannot hold (the person is told so). Throws std::runtime_error when the dialog cannot be shown.
std::optional<std::string> showPictureDialog(HWND owner, const std::string& fieldText);

// The size line under the preview: "幅 x 高さ" in pixels, for example "640 x 480".
std::string pictureSizeText(int width, int height);

// Control ids of the preview area, for tests.
inline constexpr int kPicturePreviewId = 0x500;
inline constexpr int kPictureSizeId = 0x501;

}  // namespace lumisk
