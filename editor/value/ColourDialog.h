// The editor's colour dialog: full-open, any colour, starting at a given colour. The custom colours a
// person defines in it are kept in a `ColourDialogState` that the editor window owns, so they are
// offered again at every later colour edit while the window lives.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace lumisk {

struct ColourDialogState {
  // The sixteen custom colour boxes; white until a person sets them.
  std::array<COLORREF, 16> customColours;

  ColourDialogState() { customColours.fill(RGB(255, 255, 255)); }
};

// Runs the colour dialog modally over `owner` (disabled meanwhile), starting at `initial` (0x00BBGGRR).
// The chosen colour, or std::nullopt when the person cancelled. Throws std::runtime_error when the
// dialog cannot be shown.
std::optional<uint32_t> showColourDialog(HWND owner, uint32_t initial, ColourDialogState& state);

}  // namespace lumisk
