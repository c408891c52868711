#include "host/script/DialogWatcher.h"

#include <commdlg.h>
#include <dlgs.h>

#include <stdexcept>

#include "host/HostText.h"

namespace lumisk::host {

DialogWatcher::DialogWatcher(Transcript& transcript)
    : transcript_(transcript),
      driver_({.waitForActive = false, .giveUpMs = 0, .unexpected = [this](const DialogSnapshot& dialog) {
                 record(dialog);
                 transcript_.line("    answer: none queued, closed");
                 DialogDriver::closeBox()(dialog);
               }}) {}

void DialogWatcher::queue(DialogAnswer answer) {
  last_ = std::make_shared<DialogAnswer>(std::move(answer));
  driver_.then([this, answer = last_](const DialogSnapshot& dialog) {
    record(dialog);
    // The dialogs the action opens are answered meanwhile; this one waits.
    if (answer->whileOpen) answer->whileOpen();
    perform(dialog, *answer);
  });
}

void DialogWatcher::whileOpen(std::function<void()> action) {
  // Answers are taken in order: while any is left, the one queued last is among them.
  if (!last_ || driver_.pending() == 0) throw std::runtime_error("while-open needs an answer queued before it");
  last_->whileOpen = std::move(action);
}

void DialogWatcher::record(const DialogSnapshot& dialog) {
  transcript_.line(std::string(dialog.fileDialog ? "  file dialog " : "  dialog ") +
                   transcript_.quoted(cp932OrMark(dialog.caption)));
  if (dialog.fileDialog) {
    transcript_.line("    folder " + transcript_.quoted(cp932OrMark(folderOf(dialog.window))));
    const HWND types = GetDlgItem(dialog.window, cmb1);
    const LRESULT chosen = SendMessageW(types, CB_GETCURSEL, 0, 0);
    std::string line = "    types";
    LRESULT i = 0;
    for (const std::wstring& type : listTexts(types))
      line += (i++ == chosen ? " *" : " ") + transcript_.quoted(cp932OrMark(type));
    transcript_.line(line);
    return;
  }
  std::string buttons;
  for (const DialogSnapshot::Control& control : dialog.controls) {
    if (!control.visible) continue;
    switch (control.kind) {
      case DialogSnapshot::Kind::Text:
        if (!control.text.empty()) transcript_.line("    text " + transcript_.quoted(cp932OrMark(control.text)));
        break;
      case DialogSnapshot::Kind::Edit:
        transcript_.line("    edit " + transcript_.quoted(cp932OrMark(control.text)));
        break;
      case DialogSnapshot::Kind::ComboBox:
        transcript_.line("    combo " + transcript_.quoted(cp932OrMark(control.text)));
        break;
      case DialogSnapshot::Kind::Button:
        buttons += ' ';
        buttons += transcript_.quoted(cp932OrMark(control.text));
        break;
      default:
        break;
    }
  }
  if (!buttons.empty()) transcript_.line("    buttons" + buttons);
}

void DialogWatcher::perform(const DialogSnapshot& dialog, const DialogAnswer& answer) {
  switch (answer.kind) {
    case DialogAnswer::Kind::Ok:
      transcript_.line("    answer: OK");
      DialogDriver::press(IDOK)(dialog);
      break;
    case DialogAnswer::Kind::Cancel:
      transcript_.line("    answer: cancel");
      DialogDriver::press(IDCANCEL)(dialog);
      break;
    case DialogAnswer::Kind::Close:
      transcript_.line("    answer: close box");
      DialogDriver::closeBox()(dialog);
      break;
    case DialogAnswer::Kind::Text:
      transcript_.line("    answer: type " + transcript_.quoted(cp932OrMark(answer.text)) +
                       (typingField(dialog) ? ", OK" : " (no edit field), OK"));
      DialogDriver::submit(answer.text)(dialog);
      break;
  }
}

}  // namespace lumisk::host
