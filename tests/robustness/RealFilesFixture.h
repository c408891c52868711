// The plug-in and its editor over real files in a folder of the test's own: the Win32 file layer with
// its calls counted and failing on demand (FileFaults), a fake host, prompts, a save dialog and value
// dialogs that answer from queues, so that no modal window opens.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/EditFormLauncher.h"
#include "plugin/PlugFunc.h"
#include "tests/editor/EditorFixture.h"
#include "tests/robustness/FileFaults.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScriptedEditorPrompts.h"
#include "tests/support/ScriptedValueDialogs.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"
#include "win32/Win32Collation.h"
#include "win32/Win32FileAccess.h"

namespace lumisk::testing {

inline std::string cp932(const std::wstring& wide) { return toCp932(wide).value(); }

// `count` designs, each with every value set, the values differing from design to design.
inline DesignList manyDesigns(int count, const std::string& prefix = "デザイン") {
  DesignList list;
  for (int i = 0; i < count; ++i) list.append(prefix + std::to_string(i + 1), sampleDesign(i));
  return list;
}

class RealFilesTest : public ::testing::Test {
 protected:
  TempFolder folder;
  FakeHost host;
  FileFaults faults;
  Win32FileAccess files{FileFaults::calls()};
  Win32Collation collation;
  ScriptedPrompts prompts;
  PlugFunc plug{files, collation, prompts};
  SaveDialogScript saveScript;
  ScriptedValueDialogs valueDialogs;
  EditorDialogOwner dialogOwner;
  std::unique_ptr<EditFormLauncher> launcher;

  // The INI file: its name holds 表 (95 5C), whose second byte is a backslash.
  std::wstring wideIni() const { return folder.path() + L"設定表.ini"; }
  std::string ini() const { return cp932(wideIni()); }

  void SetUp() override {
    FakeHost::bindTo(plug.binding());
    plug.setInitFile(ini().c_str());
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

  // Writes `designs` to the INI file through a start and an end of the plug-in; the file's bytes.
  std::string writeIni(const DesignList& designs) {
    faults.reset();
    removeTree(wideIni());
    if (plug.beginPlugin() != host.menusResult) throw std::runtime_error("the plug-in did not start");
    plug.designs() = designs;
    plug.endPlugin();
    if (!prompts.errors.empty()) throw std::runtime_error("the INI file could not be written");
    return readBytes(wideIni());
  }

  // Opens the editor the way the plug-in menu does.
  TEditForm& openEditor() { return openEditorFromMenu(plug, *launcher); }

  static void pump() { pumpMessages(); }
};

}  // namespace lumisk::testing
