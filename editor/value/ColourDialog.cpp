#include "editor/value/ColourDialog.h"

#include <cderr.h>
#include <commdlg.h>

#include "win32/MessageBoxes.h"
#include "win32/PromptScope.h"

namespace lumisk {

std::optional<uint32_t> showColourDialog(HWND owner, uint32_t initial, ColourDialogState& state) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = static_cast<COLORREF>(initial & 0x00FFFFFFu);
  cc.lpCustColors = state.customColours.data();
  cc.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
  BOOL chosen = FALSE;
  {
    const PromptScope modal(owner);
    chosen = ChooseColorW(&cc);
  }
  if (chosen) return static_cast<uint32_t>(cc.rgbResult & 0x00FFFFFFu);
  if (const DWORD failure = CommDlgExtendedError()) throw win32Error("ChooseColor", failure);
  return std::nullopt;
}

}  // namespace lumisk
