#include "win32/DialogBase.h"

#include "win32/ExportGuard.h"
#include "win32/PromptScope.h"

namespace lumisk {

INT_PTR DialogBase::runModal(HINSTANCE module, const DLGTEMPLATE* layout, HWND owner) {
  INT_PTR answer = 0;
  {
    const PromptScope modal(owner);
    answer = DialogBoxIndirectParamW(module, layout, owner, &DialogBase::dialogProc, hookData());
  }
  hwnd_ = nullptr;
  return answer;
}

INT_PTR CALLBACK DialogBase::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  return route(dialog, message, wParam, lParam,
               message == WM_INITDIALOG ? reinterpret_cast<DialogBase*>(lParam) : nullptr);
}

UINT_PTR CALLBACK DialogBase::fileDialogHook(HWND child, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  DialogBase* attaching = nullptr;
  if (message == WM_INITDIALOG) {
    attaching = reinterpret_cast<DialogBase*>(reinterpret_cast<const OPENFILENAMEW*>(lParam)->lCustData);
  }
  return static_cast<UINT_PTR>(route(child, message, wParam, lParam, attaching));
}

INT_PTR DialogBase::route(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, DialogBase* attaching) noexcept {
  DialogBase* self = attaching;
  if (self) {
    self->hwnd_ = dialog;
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(dialog, DWLP_USER));
  }
  // Before WM_INITDIALOG nothing of ours runs.
  if (!self) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  if (self->quiet_) return FALSE;
  bool failed = false;
  INT_PTR failedResult = FALSE;
  const INT_PTR result = guardedCall<INT_PTR>(
      FALSE, [&] { return self->onMessage(message, wParam, lParam); },
      [&](const char* text) {
        failed = true;
        failedResult = self->onFailure(message, text);
      });
  if (failed && message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, 0);
  return failed ? failedResult : result;
}

}  // namespace lumisk
