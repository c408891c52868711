// The value dialog `TValueForm`: one value of a design in one of three forms (a list of options with
// icons, a number with spin buttons, a file path with a picker), laid out in pixels, caption
// "設定値の変更". One object serves one edit: construct it with what to show, call showModal, drop it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "editor/value/ValueEdit.h"
#include "win32/DialogBase.h"
#include "win32/GuiHandles.h"
#include "win32/Subclass.h"
#include "win32/controls/ComboBox.h"
#include "win32/controls/Control.h"
#include "win32/controls/UpDown.h"

namespace lumisk {

class TValueForm : public DialogBase {
 public:
  // Opens the picture file dialog over the value dialog on the field's text; the path chosen or nullopt.
  using PictureChooser = std::function<std::optional<std::string>(HWND dialog, const std::string& fieldText)>;

  // Control ids. OK and Cancel are the dialog manager's own, so Enter and Esc reach them.
  static constexpr int kItemId = 100;
  static constexpr int kValueId = 101;
  static constexpr int kUpDownId = 102;
  static constexpr int kSelectId = 103;
  static constexpr int kClearId = 104;
  static constexpr int kOkId = IDOK;
  static constexpr int kCancelId = IDCANCEL;

  // `images` (the editor's 14 x 14 option icons, not owned; may be null: no icons) and `itemHeight`
  // (the value list's row height) make the options look like the value list's rows. `module` is the
  // plug-in's own module handle.
  TValueForm(HINSTANCE module, HIMAGELIST images, int itemHeight, ValueFormSetup setup, PictureChooser chooser);

  // Shows the dialog modally over `owner`, which is disabled until it closes. The controls' contents on
  // OK, std::nullopt after Cancel, Esc or the close box. Throws std::runtime_error when the dialog
  // cannot be created. Not reentrant: one call per object.
  std::optional<ValueFormResult> showModal(HWND owner);

 private:
  INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  INT_PTR onFailure(UINT message, const char* text) noexcept override;
  // The number field's edit part: digits and Backspace only, the arrow keys step the number.
  std::optional<LRESULT> onValueEditMessage(UINT message, WPARAM wParam);
  void createControls();
  void configureMode();
  void fitValueHeight();

  void FormCreate();
  void FormShow();
  // Key filter of the number field: true when the typed character `key` is to be discarded.
  static bool OnlyNumberKey(wchar_t key);
  void ShowOpenDialog();
  void ClearClick();
  void ValueDrawItem(const DRAWITEMSTRUCT& item) const;
  void stepNumber(int delta);
  void okClick();
  std::optional<std::string> fieldText() const;

  HWND control(int left, int top, int width, int height, const wchar_t* className, DWORD style, int id,
               const std::string& text = {});

  HINSTANCE module_;
  HIMAGELIST images_;
  int itemHeight_;
  ValueFormSetup setup_;
  PictureChooser chooser_;

  controls::Control Item;
  controls::ComboBox Value;
  controls::UpDown UpDown;
  controls::Button Select;
  controls::Button OK;
  controls::Button Cancel;
  controls::Button Clear;
  FontHandle font_;
  std::optional<ValueFormResult> result_;
  Subclass valueEdit_;  // after a failure of its own, a plain edit field
};

}  // namespace lumisk
