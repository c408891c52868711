// The editor window created for real under Wine, with the plug-in around it scripted: an in-memory INI
// file, a fake host, prompts, save dialog and value dialogs that answer from queues, so that no modal
// window ever blocks a test. The window is read the way a person or a screen reader reads it: through
// its controls, found by their identifiers.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditForm.h"
#include "editor/EditFormLauncher.h"
#include "editor/EditLayout.h"
#include "plugin/PlugFunc.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScriptedEditorPrompts.h"
#include "tests/support/ScriptedValueDialogs.h"
#include "win32/Cp932.h"
#include "win32/controls/Header.h"
#include "win32/controls/ListBox.h"
#include "win32/controls/MenuBar.h"
#include "win32/controls/StatusBar.h"

namespace lumisk::testing {

inline const std::string kIniPath = "C:\\lumisk\\lumisk.ini";

// Runs the messages waiting on this thread, as the host's loop would.
inline void pumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Opens the editor the way the plug-in menu does: a click on its last command.
inline TEditForm& openEditorFromMenu(PlugFunc& plug, EditFormLauncher& launcher) {
  plug.menuClick(menuItemNumber(MenuCommand::Editor, plug.designs().count()), 0);
  TEditForm* form = launcher.form();
  if (!form) throw std::runtime_error("the editor did not open");
  pumpMessages();
  return *form;
}

// The window's controls.
inline controls::ListBox designListOf(const TEditForm& form) {
  return controls::ListBox(GetDlgItem(form.hwnd(), kIdDesignList));
}
inline controls::ListBox valListOf(const TEditForm& form) { return controls::ListBox(GetDlgItem(form.hwnd(), kIdValList)); }
inline controls::Header headerOf(const TEditForm& form) { return controls::Header(GetDlgItem(form.hwnd(), kIdHeader)); }
inline controls::StatusBar statusBarOf(const TEditForm& form) {
  return controls::StatusBar(GetDlgItem(form.hwnd(), kIdStatusBar));
}
inline HWND okButtonOf(const TEditForm& form) { return GetDlgItem(form.hwnd(), kCmdOk); }
inline HWND cancelButtonOf(const TEditForm& form) { return GetDlgItem(form.hwnd(), kCmdCancelButton); }
inline controls::MenuBar menuOf(const TEditForm& form) { return controls::MenuBar(GetMenu(form.hwnd())); }

// What they show.
inline std::string statusTextOf(const TEditForm& form) {
  const controls::StatusBar bar = statusBarOf(form);
  std::wstring text(static_cast<std::size_t>(bar.simpleTextLength()) + 1, L'\0');
  bar.simpleText(text.data());
  text.resize(wcslen(text.c_str()));
  return toCp932(text).value_or(std::string());
}
inline int sectionWidthOf(const TEditForm& form, int section) { return headerOf(form).width(section); }
inline int valListRowHeightOf(const TEditForm& form) { return valListOf(form).itemHeight(); }
// Where the window description puts everything for the window's client size and hint help.
inline EditLayout layoutOf(const TEditForm& form) {
  RECT client{};
  GetClientRect(form.hwnd(), &client);
  return computeEditLayout(client.right, client.bottom, menuOf(form).checked(kCmdHelp));
}

// A design whose every value is set to something of its kind.
inline TDesign sampleDesign(int seed) {
  TDesign d = TDesign::unset();
  d.intValues = {1, 2, 1, 20, 3, 1, 0, 16, 1, 0, 30, 32, 1, 16777215, 255, 0x00FF00, 0x808080,
                 1, 0, 1, 10, 4 + seed, 3};
  d.wallPaper() = "C:\\壁紙\\表.bmp";
  return d;
}

class EditorTest : public ::testing::Test {
 protected:
  FakeHost host;
  MemoryFiles files;
  ScriptedPrompts prompts;
  AsciiCollation collation;
  PlugFunc plug{files, collation, prompts};
  SaveDialogScript saveScript;
  ScriptedValueDialogs valueDialogs;
  EditorDialogOwner dialogOwner;  // what the last window handed its dialogs
  std::unique_ptr<EditFormLauncher> launcher;

  void SetUp() override {
    launcher = std::make_unique<EditFormLauncher>(GetModuleHandleW(nullptr), [this](Prompts& plugin) {
      return std::make_unique<ScriptedEditorPrompts>(plugin, valueDialogs, saveScript, dialogOwner);
    });
    plug.setEditorLauncher(launcher.get());
  }

  void TearDown() override {
    launcher->close();
    pump();
    launcher.reset();
  }

  // Starts the plug-in with `mainSection` lines (each "Key=Value") and designs named `names`.
  void begin(const std::vector<std::string>& names, const std::vector<std::string>& mainSection = {}) {
    std::string ini = "[Main]\r\n";
    for (const auto& line : mainSection) ini += line + "\r\n";
    ini += "\r\n";
    files.files[kIniPath] = ini;
    FakeHost::bindTo(plug.binding());
    plug.setInitFile(kIniPath.c_str());
    ASSERT_EQ(plug.beginPlugin(), host.menusResult);
    for (std::size_t i = 0; i < names.size(); ++i) plug.designs().append(names[i], sampleDesign(static_cast<int>(i)));
  }

  // Opens the editor the way the plug-in menu does: a click on its last command.
  TEditForm& open() {
    TEditForm& form = openEditorFromMenu(plug, *launcher);
    EXPECT_TRUE(plug.editorOpen());
    return form;
  }

  static void pump() { pumpMessages(); }

  bool isOpen() const { return launcher->form() != nullptr; }

 public:
  // Sends a menu command as a click on the item does.
  static void command(TEditForm& form, EditCommand id) {
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }

  // Selects exactly `rows` of the design list (caret on the first) and notifies as the list box does.
  static void selectDesigns(TEditForm& form, const std::vector<int>& rows) {
    const auto list = designListOf(form);
    list.setSel(false, -1);
    for (int r : rows) list.setSel(true, r);
    if (!rows.empty()) list.setCaretIndex(rows.front());
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdDesignList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hwnd()));
  }

  static void selectValues(TEditForm& form, const std::vector<int>& rows) {
    const auto list = valListOf(form);
    list.setSel(false, -1);
    for (int r : rows) list.setSel(true, r);
    if (!rows.empty()) list.setCaretIndex(rows.front());
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdValList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hwnd()));
  }

  // The rows as the list box shows them.
  static std::vector<std::string> listNames(TEditForm& form) {
    std::vector<std::string> names;
    const auto list = designListOf(form);
    for (int i = 0; i < list.count(); ++i) {
      std::wstring text(static_cast<std::size_t>(list.textLength(i)) + 1, L'\0');
      list.text(i, text.data());
      text.resize(wcslen(text.c_str()));
      names.push_back(toCp932(text).value_or("?"));
    }
    return names;
  }

  static std::vector<std::string> rowNames(const TEditForm& form) {
    std::vector<std::string> names;
    const DesignRows& rows = form.workingCopy().rows();
    for (std::size_t i = 0; i < rows.count(); ++i) names.push_back(rows.name(i));
    return names;
  }

  static std::vector<int> selectedDesigns(TEditForm& form) {
    std::vector<int> rows;
    const auto list = designListOf(form);
    for (int i = 0; i < list.count(); ++i)
      if (list.selected(i)) rows.push_back(i);
    return rows;
  }

  static std::vector<std::string> designNames(PlugFunc& plug) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < plug.designs().count(); ++i) names.push_back(plug.designs().name(i));
    return names;
  }
};

}  // namespace lumisk::testing
