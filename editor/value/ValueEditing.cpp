#include "editor/value/ValueEditing.h"

#include <utility>

#include "editor/value/PictureDialog.h"
#include "editor/value/ValueForm.h"

namespace lumisk {

std::optional<ValueFormResult> Win32ValueDialogs::runValueForm(const ValueFormSetup& setup) {
  TValueForm form(module_, images_, itemHeight_, setup, [this](HWND dialog, const std::string& text) {
    // The picture dialog goes over the value dialog, which is open while the chooser runs.
    const HWND before = std::exchange(valueForm_, dialog);
    struct Restore {
      HWND& slot;
      HWND value;
      ~Restore() { slot = value; }
    } restore{valueForm_, before};
    return runPictureDialog(text);
  });
  return form.showModal(owner_);
}

std::optional<uint32_t> Win32ValueDialogs::runColourDialog(uint32_t initial) {
  return showColourDialog(owner_, initial, colours_);
}

std::optional<std::string> Win32ValueDialogs::runPictureDialog(const std::string& fieldText) {
  return showPictureDialog(valueForm_ ? valueForm_ : owner_, fieldText);
}

}  // namespace lumisk
