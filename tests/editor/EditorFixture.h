// The editor window created for real under Wine, with the plug-in around it scripted: an in-memory INI
// file, a fake host, prompts, save dialog and value dialogs that answer from queues, so that no modal
// window ever blocks a test.
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
#include "tests/support/ScriptedValueDialogs.h"
#include "plugin/PlugFunc.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "win32/Cp932.h"

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
  const int32_t m = static_cast<int32_t>(std::min<std::size_t>(plug.designs().count(), 30));
  plug.menuClick(m + 4, 0);
  TEditForm* form = launcher.form();
  if (!form) throw std::runtime_error("the editor did not open");
  pumpMessages();
  return *form;
}

// Answers of the export's save dialog, and what it was asked.
struct SaveDialogScript {
  std::deque<std::optional<std::string>> answers;
  const char* failure = nullptr;  // thrown instead of answering
  std::vector<SaveFileRequest> requests;
};

class ScriptedSaveDialog final : public SaveFileDialog {
 public:
  explicit ScriptedSaveDialog(SaveDialogScript& script) : script_(script) {}
  std::optional<std::string> run(HWND, const SaveFileRequest& request) override {
    script_.requests.push_back(request);
    if (script_.failure) throw std::runtime_error(script_.failure);
    if (script_.answers.empty()) return std::nullopt;
    auto answer = script_.answers.front();
    script_.answers.pop_front();
    return answer;
  }

 private:
  SaveDialogScript& script_;
};

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
  std::unique_ptr<EditFormLauncher> launcher;

  void SetUp() override {
    launcher = std::make_unique<EditFormLauncher>(GetModuleHandleW(nullptr), [this] {
      EditFormServices services;
      services.saveDialog = std::make_unique<ScriptedSaveDialog>(saveScript);
      services.valueDialogs = &valueDialogs;
      return services;
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
    const auto list = form.designList();
    list.setSel(false, -1);
    for (int r : rows) list.setSel(true, r);
    if (!rows.empty()) list.setCaretIndex(rows.front());
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdDesignList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hwnd()));
  }

  static void selectValues(TEditForm& form, const std::vector<int>& rows) {
    const auto list = form.valList();
    list.setSel(false, -1);
    for (int r : rows) list.setSel(true, r);
    if (!rows.empty()) list.setCaretIndex(rows.front());
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdValList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list.hwnd()));
  }

  // The rows as the list box shows them.
  static std::vector<std::string> listNames(TEditForm& form) {
    std::vector<std::string> names;
    const auto list = form.designList();
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
    for (std::size_t i = 0; i < form.rows().count(); ++i) names.push_back(form.rows().name(i));
    return names;
  }

  static std::vector<int> selectedDesigns(TEditForm& form) {
    std::vector<int> rows;
    for (int i = 0; i < form.designList().count(); ++i)
      if (form.designList().selected(i)) rows.push_back(i);
    return rows;
  }

  static std::vector<std::string> designNames(PlugFunc& plug) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < plug.designs().count(); ++i) names.push_back(plug.designs().name(i));
    return names;
  }
};

}  // namespace lumisk::testing
