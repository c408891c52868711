#include "editor/ValueListView.h"

#include <algorithm>
#include <array>

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

ValueListView::ValueListView(const EditFormParts& parts, WorkingCopy& rows, EditorPrompts& prompts)
    : parts_(parts), rows_(rows), prompts_(prompts) {}

void ValueListView::ValListDrawItem(const DRAWITEMSTRUCT& item) const {
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
    const int captionRight = rc.left + parts_.Header.width(0);
    {
      SelectedObject font(dc, heading ? parts_.boldFont.get() : parts_.font.get());
      RECT caption{rc.left, rc.top, captionRight, rc.bottom};
      DrawTextW(dc, toWide(rowCaption(row)).c_str(), -1, &caption, kTextFormat | DT_END_ELLIPSIS);
    }

    // Value column: only for a value row of the one selected design.
    const int design = shownDesign();
    if (!heading && design >= 0) {
      if (const auto shown = displayValue(rows_.rows().design(static_cast<std::size_t>(design)), row)) {
        SelectedObject font(dc, parts_.font.get());
        const int left = captionRight + kValueGap;
        const int right = std::min(captionRight + parts_.Header.width(1), static_cast<int>(rc.right));
        const int top = rc.top + (static_cast<int>(rc.bottom - rc.top) - kIconSize) / 2 + 1;
        int textLeft = left;
        if (shown->icon != kNoIcon) {
          ImageList_Draw(parts_.Images.get(), shown->icon, dc, left, top, ILD_TRANSPARENT);
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

int ValueListView::shownDesign() const { return rows_.list().selCount() == 1 ? rows_.currentRow() : -1; }

void ValueListView::repaint() const { InvalidateRect(parts_.ValList.hwnd(), nullptr, TRUE); }

void ValueListView::mnModifyClick() {
  if (parts_.ValList.selCount() != 1) return;
  const int row = parts_.ValList.caretIndex();
  if (row < 0 || row >= kRowCount || rowEntry(row).kind == RowKind::Heading) return;
  const int design = shownDesign();
  if (design < 0) return;
  if (!modifyValue(rows_.design(design), row, prompts_)) return;
  repaint();
  rows_.markModified();
}

void ValueListView::mnClearClick() {
  if (parts_.ValList.selCount() < 1) return;
  const int design = shownDesign();
  if (design < 0) return;
  RowSelection selected{};
  for (int row = 0; row < kRowCount; ++row) selected[static_cast<std::size_t>(row)] = parts_.ValList.selected(row);
  if (!clearValues(rows_.design(design), selected, prompts_)) return;
  repaint();
  rows_.markModified();
}

void ValueListView::HeaderSectionResize() const { repaint(); }

LRESULT ValueListView::HeaderNotify(const NMHDR& header) {
  if (header.hwndFrom != parts_.Header.hwnd()) return 0;
  switch (header.code) {
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA: {
      const auto& change = reinterpret_cast<const NMHEADERW&>(header);
      if (!change.pitem || !(change.pitem->mask & HDI_WIDTH)) return 0;
      const int minimum = change.iItem == 0 ? kCol0MinWidth : kCol1MinWidth;
      // A section dragged below its minimum springs back to it; that change notifies again, at the minimum.
      if (change.iItem <= 1 && change.pitem->cxy < minimum) {
        parts_.Header.setWidth(change.iItem, minimum);
        return 0;
      }
      HeaderSectionResize();
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace lumisk
