// TEditForm: the value list — drawing one row, its selection, and the two value commands, which check
// the selection here and leave the editing to ValueEdit.h with the window's dialogs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>

#include "editor/EditForm.h"
#include "editor/ValueTables.h"
#include "editor/value/ValueEdit.h"
#include "win32/Cp932.h"

namespace lumisk {
namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_NOCLIP;
// The swatch is the icon size less one, so that its frame lines up with the icons' frames.
constexpr int kSwatchSize = kIconSize - 1;
constexpr int kValueGap = 2;

}  // namespace

void TEditForm::ValListDrawItem(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const int background = selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  FillRect(dc, &rc, GetSysColorBrush(background));
  const int row = static_cast<int>(item.itemID);
  if (row >= 0 && row < kRowCount) {
    const COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const bool heading = rowEntry(row).kind == RowKind::Heading;

    // Caption column: the item string as the list holds it, bold for a heading.
    const int captionRight = rc.left + Header.width(0);
    {
      SelectedObject font(dc, heading ? boldFont_.get() : font_.get());
      RECT caption{rc.left, rc.top, captionRight, rc.bottom};
      DrawTextW(dc, toWide(rowCaption(row)).c_str(), -1, &caption, kTextFormat | DT_END_ELLIPSIS);
    }

    // Value column: only for a value row of the one selected design.
    const int design = currentValueDesign();
    if (!heading && design >= 0) {
      if (const auto shown = displayValue(rows_.rows().design(static_cast<std::size_t>(design)), row)) {
        SelectedObject font(dc, font_.get());
        const int left = captionRight + kValueGap;
        const int right = std::min(captionRight + Header.width(1), static_cast<int>(rc.right));
        const int top = rc.top + (static_cast<int>(rc.bottom - rc.top) - kIconSize) / 2 + 1;
        int textLeft = left;
        if (shown->icon != kNoIcon) {
          ImageList_Draw(Images.get(), shown->icon, dc, left, top, ILD_TRANSPARENT);
          textLeft = left + kIconSize + kValueGap;
        } else if (shown->swatch) {
          // Flag bits above the colour bytes are not part of the colour.
          BrushHandle fill(CreateSolidBrush(static_cast<COLORREF>(*shown->swatch & 0x00FFFFFFu)));
          RECT square{left, top, left + kSwatchSize, top + kSwatchSize};
          if (fill) FillRect(dc, &square, fill.get());
          FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
          textLeft = left + kIconSize + kValueGap;
        }
        RECT text{textLeft, rc.top, std::max(textLeft, right), rc.bottom};
        DrawTextW(dc, toWide(shown->text).c_str(), -1, &text,
                  kTextFormat | (shown->pathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS));
      }
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rc);
}

void TEditForm::ValListClick() { applyEnableRules(); }

int TEditForm::currentValueDesign() const { return rows_.list().selCount() == 1 ? rows_.currentRow() : -1; }

void TEditForm::mnModifyClick() {
  if (ValList.selCount() != 1) return;
  const int row = ValList.caretIndex();
  if (row < 0 || row >= kRowCount || rowEntry(row).kind == RowKind::Heading) return;
  const int design = currentValueDesign();
  if (design < 0) return;
  if (!modifyValue(rows_.design(design), row, *prompts_)) return;
  InvalidateRect(ValList.hwnd(), nullptr, TRUE);
  rows_.markModified();
}

void TEditForm::mnClearClick() {
  if (ValList.selCount() < 1) return;
  const int design = currentValueDesign();
  if (design < 0) return;
  RowSelection selected{};
  for (int row = 0; row < kRowCount; ++row) selected[static_cast<std::size_t>(row)] = ValList.selected(row);
  if (!clearValues(rows_.design(design), selected, *prompts_)) return;
  InvalidateRect(ValList.hwnd(), nullptr, TRUE);
  rows_.markModified();
}

}  // namespace lumisk
