// TEditForm: the modeless design editor window.
//
// The window copies the plug-in's design list into its working copy when it is created; every command
// changes only the working copy and sets the modified flag; OK after a change replaces the design list
// by copies of the rows, Cancel drops them. The working copy is `rows_`, kept in step with the rows of
// the list box `DesignList` (same names, same order): the list box shows it, `rows_` owns the records.
//
// Ownership: the object lives exactly as long as its window. Whoever creates it (EditFormLauncher) gets
// the `onDestroyed` call after the window is gone and releases the object there.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/DialogMessageHook.h"
#include "editor/EditLayout.h"
#include "editor/EditMenu.h"
#include "win32/GuiHandles.h"
#include "editor/SaveFileDialog.h"
#include "editor/ValueTables.h"
#include "editor/value/ColourDialog.h"
#include "store/Design.h"
#include "win32/controls/Header.h"
#include "win32/controls/ListBox.h"
#include "win32/controls/MenuBar.h"
#include "win32/controls/StatusBar.h"

namespace lumisk {

struct ValueEditContext;

class PlugFunc;
class ValueDialogs;

// The working copy's type; the name DesignList belongs to the list box inside the window.
using DesignRows = DesignList;

// What the window uses besides the plug-in; tests replace the dialogs so that no modal window opens.
struct EditFormServices {
  std::unique_ptr<SaveFileDialog> saveDialog;  // null: the platform's save dialog
  ValueDialogs* valueDialogs = nullptr;        // null: the real value and colour dialogs (not owned)
};

// Child window identifiers.
enum EditControlId : int {
  kIdDesignList = 10,
  kIdValList = 11,
  kIdHeader = 12,
  kIdStatusBar = 13,
};

inline constexpr int kCol0MinWidth = 130;
inline constexpr int kCol1MinWidth = 70;
inline constexpr int kValListMinRowHeight = 15;

class TEditForm {
 public:
  static constexpr const wchar_t* kClassName = L"TEditForm";
  // Registers the window class in `module`; an existing registration is kept. Throws std::runtime_error.
  static void registerClass(HINSTANCE module);
  // Unregisters it; false while a window of the class still exists.
  static bool unregisterClass(HINSTANCE module);

  TEditForm(PlugFunc& plug, HINSTANCE module, EditFormServices services = {});
  // A window that still exists is destroyed without calling the host (see setQuiet).
  ~TEditForm();
  TEditForm(const TEditForm&) = delete;
  TEditForm& operator=(const TEditForm&) = delete;

  // Creates the window; FormCreate runs inside. Throws std::runtime_error when it cannot be created.
  void create();
  // Shows the window and activates it; the first show runs FormShow.
  void show();
  // Called once the window is gone, after every handler has run; the object may be released in it.
  void setOnDestroyed(std::function<void(TEditForm&)> callback) { onDestroyed_ = std::move(callback); }
  // The library is being unloaded: the destruction still stores the settings and clears the editor-open
  // flag, but does not ask the host to rebuild its menus (it would call into a library going away).
  void setQuiet() { quiet_ = true; }

  // ---- State, for the value commands and for tests ----
  HWND hwnd() const { return hwnd_; }
  bool modified() const { return modified_; }
  const DesignRows& rows() const { return rows_; }
  HIMAGELIST images() const { return Images.get(); }
  int valListRowHeight() const { return ValList.itemHeight(); }
  const EditLayout& layout() const { return layout_; }
  controls::ListBox designList() const { return DesignList; }
  controls::ListBox valList() const { return ValList; }
  controls::Header header() const { return Header; }
  controls::StatusBar statusBar() const { return StatusBar; }
  controls::MenuBar menu() const { return menu_; }
  HWND okButton() const { return btOK; }
  HWND cancelButton() const { return btCamcel; }
  HACCEL accelerators() const { return accelerators_.get(); }
  std::string statusText() const;
  int sectionWidth(int section) const;
  bool dragging() const { return dragging_; }

  // ---- Event handlers ----
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void DesignListClick();
  void ValListClick();
  void ValListDrawItem(const DRAWITEMSTRUCT& item);
  void mnImportClick();
  void mnExportClick();
  void mnHelpClick();
  void mnExitClick();
  void mnCancelClick();
  void mnRenameClick();
  void mnUpperClick();
  void mnLowerClick();
  void mnDeleteClick();
  void mnAddClick();
  void mnPadClick();
  void mnClearClick();
  void mnModifyClick();
  // What the value commands work with: the design at row `design` and the window's dialogs.
  ValueEditContext valueEditContext(int design);
  // Drag-over handlers answer whether a drop would be accepted there. Points are in client
  // coordinates of the design list; `source` is the window the drag started from.
  bool DesignListDragOver(HWND source, POINT point);
  void DesignListDragDrop(HWND source, POINT point);
  bool StatusBarDragOver();
  bool lbDesignDragOver();
  void HeaderSectionResize();
  void FormResize();

  // The status bar shows `hint` (the text of the menu item the person is on; empty clears it).
  void DisplayHint(std::string_view hint);
  // Moves the row at `from` to index `to`, name and record together, and makes it the one selection.
  void MoveDesign(int from, int to);

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The design list's own procedure in front of the list box's: it turns presses into drags.
  static LRESULT CALLBACK designListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatchDesignList(HWND list, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  void windowGone();

  // The window's form description: controls, fonts, menu, accelerators, images.
  void createControls();
  HWND createChild(DWORD exStyle, const wchar_t* className, const std::string& text, DWORD style, int id);
  void buildMenu();
  void relayout();
  void showStatusBar(bool visible);
  void paint();
  void onCommand(int id, int code, HWND control);
  LRESULT onNotify(const NMHDR& header);
  void onMenuSelect(UINT item, UINT flags, HMENU menu);
  void onMinMaxInfo(MINMAXINFO& info) const;
  void fillRows();
  int measureRowHeight() const;
  void setSectionWidth(int section, int width);

  // Working copy and list box together.
  void selectOnly(int index);
  void appendListRows(std::size_t from);
  void replaceListRow(int index);
  std::vector<int> selectedRows() const;
  int currentRow() const;  // the caret row, or -1
  bool commandEnabled(EditCommand command) const;
  void runCommand(EditCommand command);

  // Mouse dragging of a design row.
  bool onDesignListButtonDown(HWND list, POINT client, WPARAM keys);
  void dragMove(POINT screen);
  void dragEnd(POINT screen);
  void cancelDrag();
  void dragFailed(HWND list, const char* message);
  int rowAt(POINT client) const;

  PlugFunc& plug_;
  HINSTANCE module_;
  HWND hwnd_ = nullptr;
  std::function<void(TEditForm&)> onDestroyed_;

  // Components.
  MenuHandle MainMenu;
  controls::MenuBar menu_;
  AcceleratorHandle accelerators_;
  controls::ListBox DesignList;
  controls::Header Header;
  controls::ListBox ValList;
  controls::StatusBar StatusBar;
  HWND btOK = nullptr;
  HWND btCamcel = nullptr;
  WNDPROC listBoxProc_ = nullptr;  // the list box class's procedure behind designListProc
  std::unique_ptr<SaveFileDialog> SaveDialog;
  ImageListHandle Images;
  ColourDialogState ColorDialog;
  FontHandle font_;
  FontHandle boldFont_;

  bool firstShow_ = false;
  bool modified_ = false;

  DesignRows rows_;
  ValueDialogs* valueDialogs_ = nullptr;
  std::unique_ptr<DialogMessageHook> hook_;
  EditLayout layout_{};
  std::string lastExportFile_;
  HWND lastFocus_ = nullptr;
  std::string createError_;
  bool created_ = false;
  bool closing_ = false;
  bool quiet_ = false;
  bool dragging_ = false;
  bool designListFailed_ = false;  // the design list's own procedure failed: plain list box from then on
};

}  // namespace lumisk
