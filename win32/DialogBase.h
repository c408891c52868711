// The plumbing of every dialog of ours, written once: one dialog procedure that attaches the object at
// WM_INITDIALOG (DWLP_USER), finds it again for every later message, lets go of it at WM_NCDESTROY, and
// keeps every failure out of the system. It serves modal dialogs of our own (runModal) and the child
// dialog that a common file dialog shows beside its standard controls (fileDialogHook).
//
// Each handler (onMessage) starts with its throw point. A handler's failure goes to onFailure, which tells
// whom it concerns and gives the procedure's result. A dialog whose WM_INITDIALOG failed is the dialog
// manager's alone from then on: nothing half-built of ours serves it.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace lumisk {

class DialogBase {
 public:
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // The dialog, from WM_INITDIALOG until it is destroyed; null before and after.
  HWND hwnd() const { return hwnd_; }

 protected:
  DialogBase() = default;
  virtual ~DialogBase() = default;

  // Runs the dialog `layout` describes modally over `owner`, with this object attached, inside a
  // PromptScope (win32/PromptScope.h). DialogBoxIndirectParamW's answer: EndDialog's value, or -1 when
  // the dialog could not be created.
  INT_PTR runModal(HINSTANCE module, const DLGTEMPLATE* layout, HWND owner);
  // A common file dialog's hook procedure, for OPENFILENAMEW's lpfnHook with hookData() as its
  // lCustData: its child dialog is then served by this object.
  static UINT_PTR CALLBACK fileDialogHook(HWND child, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LPARAM hookData() const { return reinterpret_cast<LPARAM>(this); }

  // Every message from WM_INITDIALOG on, WM_NCDESTROY excepted; the dialog procedure's result.
  virtual INT_PTR onMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // onMessage failed; `text` is the failure's message (code page 932). Runs inside the handler's catch
  // block, so std::current_exception() is the failure. The dialog procedure's result for the message.
  virtual INT_PTR onFailure(UINT message, const char* text) noexcept = 0;
  // From now on the dialog runs without this object: for a failure that would repeat on every message,
  // told once.
  void goQuiet() { quiet_ = true; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  // `attaching` is the object at WM_INITDIALOG, null for every other message.
  static INT_PTR route(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, DialogBase* attaching) noexcept;

  HWND hwnd_ = nullptr;
  bool quiet_ = false;
};

}  // namespace lumisk
