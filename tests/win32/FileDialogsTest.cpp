#include "win32/FileDialogs.h"

#include <cderr.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "host/script/DialogDriver.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

using host::DialogDriver;
using host::DialogSnapshot;

class SaveFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = folderRoot_.path() + L"表ソ\\";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << testing::kJapaneseNames;
    testing::writeBytes(folder_ + L"予定表.dsg", "");
    // "ポ" ends in the byte of "|": the filter's separators are found only after the conversion.
    request_.title = "デザイン出力先のファイル指定";
    request_.filter = "ポデザイン(*.dsg)|*.dsg|すべてのファイル(*.*)|*.*";
    request_.defaultExtension = "dsg";
    request_.initialFolder = *toCp932(folder_);
    request_.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  }

  testing::TempFolder folderRoot_;
  std::wstring folder_;
  FileDialogRequest request_;
};

TEST_F(SaveFileDialogTest, ShowsTheRequest) {
  request_.fileName = "前回.dsg";
  std::vector<std::wstring> filters;
  wchar_t typedName[MAX_PATH] = {};
  std::wstring lookIn;
  DialogDriver driver;
  driver.then([&](const DialogSnapshot& box) {
    filters = host::listTexts(GetDlgItem(box.window, cmb1));
    SendMessageW(box.window, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(typedName));
    lookIn = windowText(GetDlgItem(box.window, cmb2));
    DialogDriver::press(IDCANCEL)(box);
  });
  const FileDialogAnswer answer = showSaveFileDialog(nullptr, request_);
  ASSERT_TRUE(driver.finished());
  EXPECT_TRUE(answer.cancelled());
  EXPECT_EQ(driver.seen().at(0).caption, L"デザイン出力先のファイル指定");
  EXPECT_EQ(filters, (std::vector<std::wstring>{L"ポデザイン(*.dsg)", L"すべてのファイル(*.*)"}));
  EXPECT_STREQ(typedName, L"前回.dsg");
  EXPECT_EQ(lookIn, L"表ソ");
}

TEST_F(SaveFileDialogTest, Answers) {
  const std::string folder = *toCp932(folder_);
  struct Case {
    const char* what;
    std::vector<DialogDriver::Action> steps;
    std::optional<std::string> path;
    bool pathNotCp932;
  };
  const std::vector<Case> cases = {
      {"a name without extension takes the default one", {DialogDriver::submit(L"新しい")},
       folder + "新しい.dsg", false},
      {"an existing file after the person agreed to replace it",
       {DialogDriver::submit(L"予定表.dsg"), DialogDriver::press(IDYES)}, folder + "予定表.dsg", false},
      {"a name code page 932 cannot hold is told apart, with no box", {DialogDriver::submit(L"caf\u00E9")},
       std::nullopt, true},
      {"cancelled", {DialogDriver::press(IDCANCEL)}, std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver;
    for (const auto& step : c.steps) driver.then(step);
    const FileDialogAnswer answer = showSaveFileDialog(nullptr, request_);
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(answer.path, c.path);
    EXPECT_EQ(answer.pathNotCp932, c.pathNotCp932);
    EXPECT_EQ(answer.failure, 0u);
    EXPECT_EQ(answer.cancelled(), !c.path && !c.pathNotCp932);
  }
}

// A stand-in for the system's dialog that does what the open dialog of Windows does whatever
// OFN_NOCHANGEDIR says (Wine's does not): it leaves the current folder where the person browsed to, and
// then ends one way or another.
enum class DialogEnd { Chosen, Cancelled, Failed, Threw };
struct BrowsingDialog {
  std::wstring browsedTo;
  DialogEnd end = DialogEnd::Cancelled;
};
BrowsingDialog* browsing = nullptr;

BOOL WINAPI browseThenEnd(LPOPENFILENAMEW ofn) {
  SetCurrentDirectoryW(browsing->browsedTo.c_str());
  switch (browsing->end) {
    case DialogEnd::Chosen: {
      const std::wstring path = browsing->browsedTo + L"予定表.dsg";
      wcsncpy(ofn->lpstrFile, path.c_str(), ofn->nMaxFile);
      return TRUE;
    }
    case DialogEnd::Cancelled:
      return FALSE;
    case DialogEnd::Failed: {
      OPENFILENAMEW refused = *ofn;
      refused.lStructSize = 0;  // the system's own dialog refuses it: CDERR_STRUCTSIZE
      return GetOpenFileNameW(&refused);
    }
    case DialogEnd::Threw:
      break;
  }
  throw std::runtime_error("the dialog's hook failed");
}

std::wstring currentFolder() {
  std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
  folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
  return folder;
}

class FileDialogFolderTest : public SaveFileDialogTest {};

TEST_F(FileDialogFolderTest, EveryEndGivesTheCurrentFolderBack) {
  const FileDialogCalls calls{&browseThenEnd, &browseThenEnd};
  using Show = FileDialogAnswer (*)(HWND, const FileDialogRequest&, const FileDialogCalls&);
  const std::pair<const char*, Show> dialogs[] = {{"open", &showOpenFileDialog}, {"save", &showSaveFileDialog}};
  const std::pair<const char*, DialogEnd> ends[] = {{"a file chosen", DialogEnd::Chosen},
                                                    {"cancelled", DialogEnd::Cancelled},
                                                    {"the dialog failed", DialogEnd::Failed},
                                                    {"an exception out of the dialog", DialogEnd::Threw}};
  const std::wstring before = currentFolder();
  ASSERT_NE(before, folder_);
  for (const auto& [dialogName, show] : dialogs) {
    for (const auto& [endName, end] : ends) {
      SCOPED_TRACE(std::string(dialogName) + ", " + endName);
      BrowsingDialog dialog{folder_, end};
      browsing = &dialog;
      std::optional<FileDialogAnswer> answer;
      try {
        answer = show(nullptr, request_, calls);
      } catch (const std::runtime_error&) {
      }
      browsing = nullptr;
      EXPECT_EQ(currentFolder(), before);
      SetCurrentDirectoryW(before.c_str());
      EXPECT_EQ(answer.has_value(), end != DialogEnd::Threw);
      if (!answer) continue;
      EXPECT_EQ(answer->path.has_value(), end == DialogEnd::Chosen);
      if (end == DialogEnd::Failed) {
        EXPECT_EQ(answer->failure, static_cast<DWORD>(CDERR_STRUCTSIZE));
      }
    }
  }
}

}  // namespace
}  // namespace lumisk
