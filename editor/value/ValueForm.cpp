#include "editor/value/ValueForm.h"

#include <algorithm>

#include "win32/Cp932.h"
#include "win32/DialogTemplate.h"
#include "win32/MessageBoxes.h"
#include "win32/Screen.h"
#include "win32/ThrowPoint.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

constexpr int kClientWidth = 365;
constexpr int kClientHeight = 91;
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFormExStyle = WS_EX_TOOLWINDOW;

// The closed value field is this high whatever the font and item height make of it.
constexpr int kValueHeight = 20;
constexpr int kDropDownRows = 8;
// In number mode the spin buttons stand where the picker button stands in path mode.
constexpr int kSpinShownLeft = 248;
constexpr int kSpinTop = 24;
constexpr int kSpinSize = 20;
constexpr int kIconGap = 2;
constexpr const char* kPathNotCp932 =
    "入力されたパスには、シフトJIS(コードページ932)で表せない文字が含まれています。";

HWND comboEdit(HWND combo) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

}  // namespace

TValueForm::TValueForm(HINSTANCE module, HIMAGELIST images, int itemHeight, ValueFormSetup setup,
                       PictureChooser chooser)
    : module_(module),
      images_(images),
      itemHeight_(std::max(1, itemHeight)),
      setup_(std::move(setup)),
      chooser_(std::move(chooser)),
      valueEdit_([this](HWND, UINT message, WPARAM wParam, LPARAM) { return onValueEditMessage(message, wParam); },
                 [](HWND edit, const char* text) { reportFailure(GetAncestor(edit, GA_ROOT), text); }) {}

std::optional<ValueFormResult> TValueForm::showModal(HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  // The frame only: every control is placed in pixels when the dialog starts.
  const DialogTemplate frame(kFormStyle, 0, 0, L"");
  result_.reset();
  const INT_PTR answer = runModal(module_, frame.get(), owner);
  if (answer == -1) throw win32Error("DialogBoxIndirectParam");
  if (answer != IDOK) return std::nullopt;
  return result_;
}

INT_PTR TValueForm::onFailure(UINT message, const char* text) noexcept {
  reportFailure(hwnd(), text);
  // A dialog that could not be set up is closed as if cancelled: nothing half-built is shown.
  if (message == WM_INITDIALOG) EndDialog(hwnd(), IDCANCEL);
  return FALSE;
}

INT_PTR TValueForm::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  throwPoint("TValueForm.dialogProc");
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowTextW(hwnd(), toWide("設定値の変更").c_str());
      SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | kFormExStyle);
      RECT frame{0, 0, kClientWidth, kClientHeight};
      AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)));
      const int width = frame.right - frame.left;
      const int height = frame.bottom - frame.top;
      SetWindowPos(hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      centreOnPrimaryScreen(hwnd());
      createControls();
      FormCreate();
      configureMode();
      fitValueHeight();
      FormShow();
      SetFocus(Value.hwnd());
      return FALSE;  // the focus is set
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) return FALSE;
      item->itemHeight = static_cast<UINT>(itemHeight_);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != static_cast<UINT>(kValueId)) return FALSE;
      ValueDrawItem(*item);
      return TRUE;
    }
    case WM_COMMAND: {
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wParam)) {
        case kOkId: okClick(); return TRUE;
        case kCancelId: EndDialog(hwnd(), IDCANCEL); return TRUE;
        case kSelectId: ShowOpenDialog(); return TRUE;
        case kClearId: ClearClick(); return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

HWND TValueForm::control(int left, int top, int width, int height, const wchar_t* className, DWORD style, int id,
                         const std::string& text) {
  HWND child = CreateWindowExW(0, className, toWide(text).c_str(), WS_CHILD | style, left, top, width, height, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
  if (!child) throw win32Error("CreateWindowEx");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return child;
}

void TValueForm::createControls() {
  font_ = createUiFont();
  if (!font_) throw win32Error("CreateFont");
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

  // The field is drawn under the controls that overlap its right end, never over them.
  DWORD valueStyle = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS;
  valueStyle |= setup_.mode == ValueFormMode::List ? CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS
                                                   : CBS_DROPDOWN | CBS_AUTOHSCROLL;
  // Creation order is the tab order: Value, UpDown, Select, OK, Cancel, Clear.
  Item.attach(control(16, 8, 150, 12, L"STATIC", WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, kItemId, setup_.item));
  Value.attach(
      control(32, 24, 233, kValueHeight + kDropDownRows * itemHeight_ + 2, WC_COMBOBOXW, valueStyle, kValueId));
  // No UDS_WRAP: the spin buttons stop at the bounds.
  UpDown.attach(control(265, kSpinTop, kSpinSize, kSpinSize, UPDOWN_CLASSW,
                        UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, kUpDownId));
  UpDown.setRange(4, 100);
  UpDown.setPos(4);
  Select.attach(control(248, 24, 41, 20, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kSelectId, "選択..."));
  OK.attach(control(152, 56, 75, 25, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, kOkId, "OK"));
  Cancel.attach(control(256, 56, 75, 25, L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kCancelId, "キャンセル"));
  Clear.attach(control(296, 24, 57, 20, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, kClearId, "クリア(&C)"));
  // The spin buttons and the picker button cover the right end of the field, where its drop-down
  // button lies: the field goes to the bottom of the drawing order. Tabbing keeps its cycle, since the
  // field was first and is now last.
  SetWindowPos(Value.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TValueForm::FormCreate() {
  // Options and value list rows have the same height.
  Value.setItemHeight(0, itemHeight_);
}

void TValueForm::configureMode() {
  switch (setup_.mode) {
    case ValueFormMode::List:
      for (const std::string& option : setup_.options) {
        // The item strings are what a person reads: the label, without the icon digit.
        Value.addString(toWide(optionLabel(option)).c_str());
      }
      Value.setCurSel(setup_.selected);
      break;
    case ValueFormMode::Number: {
      HWND edit = comboEdit(Value.hwnd());
      if (!edit || !valueEdit_.attach(edit)) throw win32Error("SetWindowLongPtr");
      UpDown.setBuddy(Value.hwnd());
      UpDown.setRange(setup_.minimum, setup_.maximum);
      UpDown.setPos(setup_.start);
      SetWindowTextW(Value.hwnd(), std::to_wstring(setup_.start).c_str());
      ShowWindow(UpDown.hwnd(), SW_SHOW);
      break;
    }
    case ValueFormMode::Path:
      SetWindowTextW(Value.hwnd(), toWide(setup_.text).c_str());
      ShowWindow(Select.hwnd(), SW_SHOW);
      ShowWindow(Clear.hwnd(), SW_SHOW);
      break;
  }
}

void TValueForm::fitValueHeight() {
  // The frame around the selection field differs between systems: measure and correct, starting from
  // the usual 3 pixels above and below.
  int field = kValueHeight - 6;
  for (int attempt = 0; attempt < 3 && field > 0; ++attempt) {
    Value.setItemHeight(-1, field);
    RECT rect{};
    GetWindowRect(Value.hwnd(), &rect);
    const int height = static_cast<int>(rect.bottom - rect.top);
    if (height == kValueHeight) break;
    field += kValueHeight - height;
  }
}

void TValueForm::FormShow() {
  // The size is set again too: the spin control may have taken a width of its own when it got its buddy.
  SetWindowPos(UpDown.hwnd(), nullptr, kSpinShownLeft, kSpinTop, kSpinSize, kSpinSize, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TValueForm::OnlyNumberKey(wchar_t key) { return !((key >= L'0' && key <= L'9') || key == 8); }

std::optional<LRESULT> TValueForm::onValueEditMessage(UINT message, WPARAM wParam) {
  throwPoint("TValueForm.valueEditProc");
  switch (message) {
    case WM_CHAR:
      if (OnlyNumberKey(static_cast<wchar_t>(wParam))) return 0;
      break;
    case WM_KEYDOWN:
      // The spin control listens to the field itself; the keys arrive at the field's edit part.
      if (wParam == VK_UP || wParam == VK_DOWN) {
        stepNumber(wParam == VK_UP ? 1 : -1);
        return 0;
      }
      break;
  }
  return std::nullopt;
}

void TValueForm::stepNumber(int delta) {
  // The position reads the typed text back first, as the spin buttons do; no wrap at the bounds.
  BOOL invalid = FALSE;
  const int position = UpDown.pos(&invalid);
  int low = 0, high = 0;
  UpDown.range(low, high);
  const int next = std::clamp(position + delta, std::min(low, high), std::max(low, high));
  UpDown.setPos(next);
  SetWindowTextW(Value.hwnd(), std::to_wstring(next).c_str());
  if (HWND edit = comboEdit(Value.hwnd())) SendMessageW(edit, EM_SETSEL, 0, -1);
}

void TValueForm::ShowOpenDialog() {
  if (chooser_) {
    // A field that code page 932 cannot hold opens the picker without a file name.
    if (const auto path = chooser_(hwnd(), fieldText().value_or(std::string()))) {
      SetWindowTextW(Value.hwnd(), toWide(*path).c_str());
    }
  }
  SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Value.hwnd()), TRUE);
  Value.setEditSel(0, -1);
}

void TValueForm::ClearClick() { SetWindowTextW(Value.hwnd(), L""); }

void TValueForm::ValueDrawItem(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT rect = item.rcItem;
  FillRect(item.hDC, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const int index = static_cast<int>(item.itemID);
  if (index >= 0 && index < static_cast<int>(setup_.options.size())) {
    const std::string& option = setup_.options[static_cast<std::size_t>(index)];
    rect.left += kIconGap;
    const int icon = optionIcon(option);
    if (icon != kNoIcon) {
      if (images_) {
        const int top = rect.top + (rect.bottom - rect.top - kIconSize) / 2 + 1;
        ImageList_Draw(images_, icon, item.hDC, rect.left, top, ILD_TRANSPARENT);
      }
      rect.left += kIconSize + kIconGap;
    }
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring label = toWide(optionLabel(option));
    DrawTextW(item.hDC, label.c_str(), static_cast<int>(label.size()), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS);
  }
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(item.hDC, &item.rcItem);
}

std::optional<std::string> TValueForm::fieldText() const { return toCp932(windowText(Value.hwnd())); }

void TValueForm::okClick() {
  ValueFormResult result;
  switch (setup_.mode) {
    case ValueFormMode::List:
      result.selected = Value.curSel();
      if (result.selected < 0) result.selected = -1;
      break;
    case ValueFormMode::Number: {
      // Text that code page 932 cannot hold is no number either: the last valid position counts.
      result.text = fieldText().value_or(std::string("?"));
      BOOL invalid = FALSE;
      result.position = UpDown.pos(&invalid);
      break;
    }
    case ValueFormMode::Path: {
      auto text = fieldText();
      if (!text) {
        // The design keeps its text in code page 932: such a path could only be stored damaged.
        plainBox(hwnd(), kPathNotCp932);
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Value.hwnd()), TRUE);
        return;
      }
      result.text = std::move(*text);
      break;
    }
  }
  result_ = std::move(result);
  EndDialog(hwnd(), IDOK);
}

}  // namespace lumisk
