// The picture dialog's hook procedure made to fail on every message (the plug-in built with throw
// points), from its first message on or once the dialog shows and its preview is repainted: the failure
// is told once, the file dialog goes on without its preview and still chooses a file.
// The host's scripts cannot reach this dialog (it opens only from a button of the modal value dialog),
// so it is driven here from inside its own modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/value/PictureDialog.h"
#include "host/script/DialogDriver.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"

namespace lumisk::testing {
namespace {

constexpr wchar_t kPoint[] = L"PictureDialog.previewHook";

using host::DialogDriver;
using host::DialogSnapshot;

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

  // Runs the dialog on a.bmp and chooses b.bmp; the error boxes seen on the way. With `armOnceShown` the
  // point is armed when the dialog shows, and the preview is repainted a few times before the choice.
  std::optional<std::string> chooseB(bool armOnceShown, std::vector<std::wstring>& errors, bool& finished) {
    DialogDriver driver;
    const auto fileDialog = DialogDriver::captioned(L"ファイル名指定");
    const auto errorBox = DialogDriver::captioned(L"Lumisk");
    int repaints = armOnceShown ? 3 : 0;
    bool armed = false;
    // Each step answers whatever opens next: an error box opens over the dialog before the person can act.
    std::function<void()> next = [&] {
      driver.then([=](const DialogSnapshot& shown) { return fileDialog(shown) || errorBox(shown); },
                  [&](const DialogSnapshot& shown) {
                    if (errorBox(shown)) {
                      errors.push_back(shown.texts().at(0));
                      // A flood of boxes is cut short so that the test ends; a few are enough to count.
                      if (errors.size() >= kFloodCut) SetEnvironmentVariableW(L"LUMISK_THROW", nullptr);
                      DialogDriver::press(IDOK)(shown);
                      next();
                      return;
                    }
                    if (repaints > 0) {
                      if (!armed) SetEnvironmentVariableW(L"LUMISK_THROW", kPoint);
                      armed = true;
                      --repaints;
                      const HWND preview = FindWindowExW(shown.window, nullptr, L"#32770", nullptr);
                      InvalidateRect(GetDlgItem(preview, kPicturePreviewId), nullptr, TRUE);
                      next();
                      return;
                    }
                    DialogDriver::submit(L"b.bmp")(shown);
                  });
    };
    next();
    auto chosen = showPictureDialog(owner_, toCp932(folder_.path() + L"a.bmp").value());
    finished = driver.finished();
    return chosen;
  }

  static constexpr std::size_t kFloodCut = 5;
  HWND owner_ = nullptr;
  TempFolder folder_;
};

TEST_F(PreviewHookThrowTest, AFailingPreviewIsToldOnceAndTheDialogStillChooses) {
  const std::string b = toCp932(folder_.path() + L"b.bmp").value();
  enum class Failing { FromTheStart, OnceShown, Never };
  for (Failing failing : {Failing::FromTheStart, Failing::OnceShown, Failing::Never}) {
    SCOPED_TRACE(failing == Failing::FromTheStart ? "the hook fails on every message from the first"
                 : failing == Failing::OnceShown  ? "the hook fails on every message once the dialog shows"
                                                  : "the hook works");
    SetEnvironmentVariableW(L"LUMISK_THROW", failing == Failing::FromTheStart ? kPoint : nullptr);
    std::vector<std::wstring> errors;
    bool finished = false;
    const auto chosen = chooseB(failing == Failing::OnceShown, errors, finished);
    SetEnvironmentVariableW(L"LUMISK_THROW", nullptr);
    EXPECT_TRUE(finished) << "no box left unanswered";
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(CompareStringOrdinal(toWide(*chosen).c_str(), -1, toWide(b).c_str(), -1, TRUE), CSTR_EQUAL) << *chosen;
    if (failing == Failing::Never) {
      EXPECT_TRUE(errors.empty());
    } else {
      EXPECT_EQ(errors, std::vector<std::wstring>{toWide("テスト用の例外 (PictureDialog.previewHook)")});
    }
  }
}

}  // namespace
}  // namespace lumisk::testing
