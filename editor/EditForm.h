// TEditForm: the modeless design editor window.
//
// The window copies the plug-in's design list into its working copy when it is created; every command
// changes only the working copy and sets its modified flag; OK after a change replaces the design list
// by copies of the rows, Cancel drops them. The window asks a person nothing but through its
// EditorPrompts, and reaches the plug-in only through its EditorContext.
//
// The window composes: its parts (EditFormParts) are the controls, menu, fonts and icons; the design
// list's commands are DesignListCommands', its mouse dragging DesignListDrag's; the value list's drawing
// and commands are ValueListView's. The window itself keeps its class and lifetime, the message
// dispatch, the layout and the rules that enable the commands.
//
// Ownership: the object lives exactly as long as its window. Whoever creates it (EditFormLauncher) gets
// the `onDestroyed` call after the window is gone and releases the object there.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/DesignListCommands.h"
#include "editor/DesignListDrag.h"
#include "editor/DialogMessageHook.h"
#include "editor/EditFormParts.h"
#include "editor/EditLayout.h"
#include "editor/EditMenu.h"
#include "editor/EditorPrompts.h"
#include "editor/ValueListView.h"
#include "editor/WorkingCopy.h"
#include "plugin/EditorContext.h"
#include "win32/FocusMemory.h"
#include "win32/WindowBase.h"

namespace lumisk {

class TEditForm : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"TEditForm";
  // Registers the window class in `module`; an existing registration is kept. Throws std::runtime_error.
  static void registerClass(HINSTANCE module);
  // Unregisters it; false while a window of the class still exists.
  static bool unregisterClass(HINSTANCE module);

  // `module` is the plug-in's own, the instance of the window class; `prompts` is owned by the window.
  TEditForm(EditorContext context, std::unique_ptr<EditorPrompts> prompts, HINSTANCE module);
  // A window that still exists is destroyed without calling the host (see setQuiet).
  ~TEditForm() override;

  // Creates the window; FormCreate runs inside. Throws std::runtime_error when it cannot be created.
  void create();
  // Shows the window and activates it; the first show runs FormShow.
  void show();
  // Called once the window is gone, after every handler has run; the object may be released in it.
  void setOnDestroyed(std::function<void(TEditForm&)> callback) { onDestroyed_ = std::move(callback); }
  // The library is being unloaded: the destruction still stores the settings and clears the editor-open
  // flag, but does not ask the host to rebuild its menus (it would call into a library going away).
  void setQuiet() { quiet_ = true; }
  // Destroys the window as a close from outside does: no commit, no question. At once, or while a prompt
  // is open (the window may own it, or a handler of the window may be waiting for its answer) once the
  // last prompt has closed.
  void release();

  // ---- Seams for tests: what a person cannot read off the window ----
  // The rows the commands work on, and whether one changed them.
  const WorkingCopy& workingCopy() const { return rows_; }
  // The mouse dragging of designs, for drops and drag scroll without a mouse.
  DesignListDrag& designDrag() { return drag_; }

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT onFailure(UINT message, WPARAM wParam, LPARAM lParam, const char* text) noexcept override;
  void onGone() override;

  // ---- Event handlers ----
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void FormResize();
  void DesignListClick();
  void ValListClick();
  void mnHelpClick();
  void mnExitClick();
  void mnCancelClick();
  void btCamcelClick();
  // The status bar shows `hint` (the text of the menu item the person is on; empty clears it).
  void DisplayHint(std::string_view hint);

  // A menu item, shortcut or button (`control` null), or a notification `code` from a list box.
  void onCommand(int id, int code, HWND control);
  // Places the controls for the client area and the status bar's visibility.
  void relayout();
  void showStatusBar(bool visible);
  // Sets every menu item's enabled state by its rule in the menu table, from both lists' selections.
  void applyEnableRules();

  EditorContext context_;
  std::unique_ptr<EditorPrompts> prompts_;
  HINSTANCE module_;
  std::function<void(TEditForm&)> onDestroyed_;

  EditFormParts parts_;
  WorkingCopy rows_;  // with the list box DesignList
  EditLayout layout_{};
  DesignListDrag drag_{rows_, layout_, *prompts_, [this] { DesignListClick(); }};
  DesignListCommands designs_{rows_, context_, *prompts_, [this] { DesignListClick(); }};
  ValueListView values_{parts_, rows_, *prompts_};
  std::unique_ptr<DialogMessageHook> hook_;
  FocusMemory focus_;
  std::string createError_;
  bool firstShow_ = false;
  bool created_ = false;
  bool closing_ = false;
  bool quiet_ = false;
};

}  // namespace lumisk
