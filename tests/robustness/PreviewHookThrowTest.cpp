// The picture dialog's hook procedure made to fail on every message (the plug-in built with throw
// points): the failure is told once, the file dialog goes on without its preview and still chooses a file.
// The host's scripts cannot reach this dialog (it opens only from a button of the modal value dialog),
// so it is driven here from inside its own modal loop.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/value/PictureDialog.h"
#include "tests/value/ModalScript.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"

namespace lumisk::testing {
namespace {

constexpr wchar_t kPoint[] = L"PictureDialog.previewHook";

HWND fileNameBox(HWND fileDialog) {
  HWND box = GetDlgItem(fileDialog, cmb13);
  return box ? box : GetDlgItem(fileDialog, edt1);
}

// The text of a message box: its static control that is not the icon.
std::wstring boxText(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t kind[16] = {};
    GetClassNameW(child, kind, 16);
    if (lstrcmpiW(kind, L"Static") == 0 && GetWindowTextLengthW(child) > 0) return textOf(child);
  }
  return {};
}

class PreviewHookThrowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"editor", WS_OVERLAPPEDWINDOW, 0, 0, 400, 350, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner_);
    writeBytes(folder_.path() + L"a.bmp", "no picture");
    writeBytes(folder_.path() + L"b.bmp", "no picture either");
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"LUMISK_THROW", nullptr);
    DestroyWindow(owner_);
  }

  // Runs the dialog on a.bmp and chooses b.bmp; the error boxes seen on the way.
  std::optional<std::string> chooseB(std::vector<std::wstring>& errors, bool& finished) {
    ModalScript script;
    auto fileDialog = ModalScript::captioned("ファイル名指定");
    // An error box, if one comes, opens over the dialog before the person can act.
    script.then(
        [fileDialog](HWND w) { return fileDialog(w) || ModalScript::captioned("Lumisk")(w); },
        [&](HWND w) {
          if (ModalScript::captioned("Lumisk")(w)) {
            errors.push_back(boxText(w));
            PostMessageW(w, WM_COMMAND, IDOK, 0);
            script.then(fileDialog, [](HWND files) {
              SetWindowTextW(fileNameBox(files), L"b.bmp");
              PostMessageW(files, WM_COMMAND, IDOK, 0);
            });
            return;
          }
          SetWindowTextW(fileNameBox(w), L"b.bmp");
          PostMessageW(w, WM_COMMAND, IDOK, 0);
        });
    auto chosen = showPictureDialog(owner_, toCp932(folder_.path() + L"a.bmp").value());
    finished = script.finished();
    return chosen;
  }

  HWND owner_ = nullptr;
  TempFolder folder_;
};

TEST_F(PreviewHookThrowTest, AFailingPreviewIsToldOnceAndTheDialogStillChooses) {
  const std::string b = toCp932(folder_.path() + L"b.bmp").value();
  for (bool failing : {true, false}) {
    SCOPED_TRACE(failing ? "the hook fails on every message" : "the hook works");
    SetEnvironmentVariableW(L"LUMISK_THROW", failing ? kPoint : nullptr);
    std::vector<std::wstring> errors;
    bool finished = false;
    const auto chosen = chooseB(errors, finished);
    EXPECT_TRUE(finished) << "no box left unanswered, none in a flood";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(CompareStringOrdinal(toWide(*chosen).c_str(), -1, toWide(b).c_str(), -1, TRUE), CSTR_EQUAL) << *chosen;
    if (failing) {
      EXPECT_EQ(errors, std::vector<std::wstring>{toWide("テスト用の例外 (PictureDialog.previewHook)")});
    } else {
      EXPECT_TRUE(errors.empty());
    }
  }
}

}  // namespace
}  // namespace lumisk::testing
