// A window procedure of ours in front of a control's own, written once: every message goes first to a
// handler, which either answers it or leaves it to the control; at WM_NCDESTROY the control gets its own
// procedure back.
//
// The procedure is replaced through GWLP_WNDPROC, and the object is found through the control's
// GWLP_USERDATA, rather than with the common controls' SetWindowSubclass: that one finds its list of
// procedures through a window property on every message, and a list box the editor fills with thousands
// of designs gets one message per row. The property lookup is a round trip to the server under Wine.
// What the subclass list would add, taking procedures out in any order, is not needed here: the
// procedure leaves only when the control goes, or when its owner is done with it before.
//
// The handler starts with its throw point. Its first failure is reported, and the control is served by
// its own procedure alone from then on: a failure that repeats on every message is told once, and the
// control still gets every message.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace lumisk {

class Subclass {
 public:
  // Answers `message` (the result the control's sender gets), or nullopt to leave it to the control.
  using Handler = std::function<std::optional<LRESULT>(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;
  // Tells the handler's failure, `text` (code page 932). Runs inside the handler's catch block. A failure
  // of its own goes unheard.
  using Report = std::function<void(HWND window, const char* text)>;

  Subclass(Handler handler, Report report);
  // Gives a control that still exists its own procedure back.
  ~Subclass();
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;

  // Puts the handler in front of `window`'s procedure. False (GetLastError) when it could not be done, or
  // when the control's user data is taken already or this object serves another control.
  bool attach(HWND window);
  // Gives the control its own procedure back, at once.
  void detach();
  // Whether the handler has failed: the control is then its own.
  bool failed() const { return failed_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

  Handler handler_;
  Report report_;
  HWND window_ = nullptr;
  WNDPROC original_ = nullptr;  // the control's own procedure
  bool failed_ = false;
};

}  // namespace lumisk
