#include "win32/Win32Prompts.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <functional>

#include "host/script/DialogDriver.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"
#include "win32/MessageBoxes.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

using host::childRect;
using host::DialogDriver;
using host::DialogSnapshot;

// Texts with characters whose second byte is 0x5C, kana, a half-width one and a line break: whatever
// the system's code page, they must come back from the box exactly.
const std::string kJapanese = "表示できないソフト「予定表」①ｱ\r\n二行目です。";

std::vector<std::pair<int, std::wstring>> buttonsOf(const DialogSnapshot& box) {
  std::vector<std::pair<int, std::wstring>> buttons;
  for (const auto& b : box.buttons())
    if (b.visible) buttons.emplace_back(b.id, b.text);
  return buttons;
}

// The width of a control's text in the control's own font, and the width of the control.
std::pair<int, int> textAndControlWidth(HWND control) {
  RECT client{};
  GetClientRect(control, &client);
  const std::wstring text = windowText(control);
  HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {size.cx, client.right - client.left};
}

bool labelFits(HWND button) {
  const auto [text, control] = textAndControlWidth(button);
  return text < control;
}

class Win32PromptsTest : public ::testing::Test {
 protected:
  Win32Prompts prompts_{GetModuleHandleW(nullptr)};
};

TEST_F(Win32PromptsTest, ConfirmationBoxAnswers) {
  struct Case {
    const char* what;
    DialogDriver::Action action;
    bool result;
  };
  const std::vector<Case> cases = {
      {"OK", DialogDriver::press(IDOK), true},
      {"キャンセル", DialogDriver::press(IDCANCEL), false},
      {"Esc", DialogDriver::pressEscape(), false},
      {"the close box", DialogDriver::closeBox(), false},
      {"Enter on the default button", DialogDriver::pressEnter(), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bool fits = false;
    DialogDriver driver;
    driver.then([&](const DialogSnapshot& box) {
      fits = labelFits(box.buttons().at(0).window) && labelFits(box.buttons().at(1).window);
      c.action(box);
    });
    EXPECT_EQ(prompts_.confirm(kJapanese), c.result);
    ASSERT_TRUE(driver.finished());
    const DialogSnapshot& box = driver.seen().at(0);
    EXPECT_EQ(box.caption, L"確認");
    EXPECT_EQ(box.texts(), std::vector<std::wstring>{toWide(kJapanese)});
    EXPECT_EQ(buttonsOf(box), (std::vector<std::pair<int, std::wstring>>{{IDOK, L"OK"}, {IDCANCEL, L"キャンセル"}}));
    EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_QUESTION));
    EXPECT_TRUE(fits) << "a label is wider than its button";
  }
}

TEST_F(Win32PromptsTest, MessageBoxesShowTheTextAsWritten) {
  struct Case {
    const char* what;
    std::function<void(Win32Prompts&, const std::string&)> show;
    LPCWSTR icon;  // none: a plain box
  };
  const std::vector<Case> cases = {
      {"inform", [](Win32Prompts& p, const std::string& t) { p.inform(t); }, nullptr},
      {"showError", [](Win32Prompts& p, const std::string& t) { p.showError(t); }, IDI_ERROR},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver;
    driver.then(DialogDriver::pressEnter());
    c.show(prompts_, kJapanese);
    ASSERT_TRUE(driver.finished());
    const DialogSnapshot& box = driver.seen().at(0);
    EXPECT_EQ(box.caption, L"Lumisk");
    EXPECT_EQ(box.texts(), std::vector<std::wstring>{toWide(kJapanese)});
    EXPECT_EQ(box.texts().at(0).find(L"表示できないソフト「予定表」①ｱ"), 0u) << "the compiler's table agrees";
    ASSERT_EQ(buttonsOf(box).size(), 1u);
    EXPECT_EQ(box.icon, c.icon ? LoadIconW(nullptr, c.icon) : nullptr);
  }
}

TEST_F(Win32PromptsTest, BoxesBelongToTheOwnerWhileItLives) {
  const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                     nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  prompts_.setOwner(owner);
  struct Seen {
    HWND owner;
    bool ownerEnabled;
  };
  std::vector<Seen> seen;
  auto record = [&](const DialogSnapshot& box) {
    seen.push_back({GetWindow(box.window, GW_OWNER), IsWindowEnabled(owner) != FALSE});
    DialogDriver::press(IDCANCEL)(box);
  };
  {
    DialogDriver driver;
    driver.then(record).then(record).then(record);
    prompts_.inform("a");
    prompts_.confirm("b");
    prompts_.askName("c", "d");
    EXPECT_TRUE(driver.finished());
  }
  ASSERT_EQ(seen.size(), 3u);
  for (const auto& s : seen) {
    EXPECT_EQ(s.owner, owner);
    EXPECT_FALSE(s.ownerEnabled) << "the owner waits for the box";
  }
  EXPECT_TRUE(IsWindowEnabled(owner)) << "and is given back";

  DestroyWindow(owner);
  DialogDriver driver;
  driver.then(record);
  prompts_.inform("e");
  EXPECT_TRUE(driver.finished());
  EXPECT_NE(seen.back().owner, owner) << "a destroyed owner is not used";
}

// Top-level windows of the thread as a launcher has them: the one a prompt is owned by, two more pads,
// a hidden window and one that was disabled before.
class LauncherWindows {
 public:
  LauncherWindows() {
    for (const wchar_t* caption : {L"owner", L"pad 2", L"pad 3", L"hidden", L"disabled"}) {
      const DWORD visible = std::wstring_view(caption) == L"hidden" ? 0 : WS_VISIBLE;
      windows_.push_back(CreateWindowExW(0, L"STATIC", caption, WS_OVERLAPPEDWINDOW | visible, 0, 0, 200, 100,
                                         nullptr, nullptr, nullptr, nullptr));
    }
    EnableWindow(windows_.back(), FALSE);
  }
  ~LauncherWindows() {
    for (HWND window : windows_) DestroyWindow(window);
  }
  LauncherWindows(const LauncherWindows&) = delete;
  LauncherWindows& operator=(const LauncherWindows&) = delete;

  HWND owner() const { return windows_.front(); }
  // Which are enabled, in the order above.
  std::vector<bool> enabled() const {
    std::vector<bool> states;
    for (HWND window : windows_) states.push_back(IsWindowEnabled(window) != FALSE);
    return states;
  }

 private:
  std::vector<HWND> windows_;
};

const std::vector<bool> kAsBefore = {true, true, true, true, false};
// The owner waits for its prompt as any owner does; every other visible window of the thread waits too.
const std::vector<bool> kWhileAPrompt = {false, false, false, true, false};

TEST_F(Win32PromptsTest, EveryPromptHoldsEveryWindowOfTheThreadAndGivesBackExactlyThose) {
  LauncherWindows launcher;
  prompts_.setOwner(launcher.owner());
  struct Case {
    const char* what;
    std::function<void()> show;
  };
  const std::vector<Case> cases = {
      {"inform", [&] { prompts_.inform("a"); }},
      {"confirm", [&] { prompts_.confirm("b"); }},
      {"the name box", [&] { prompts_.askName("c", "d"); }},
      {"the design file dialog", [&] { prompts_.chooseDesignFile(""); }},
      {"an error", [&] { prompts_.showError("e"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<bool> whileOpen;
    bool showing = false;
    DialogDriver driver;
    driver.then([&](const DialogSnapshot& box) {
      whileOpen = launcher.enabled();
      showing = prompts_.showing();
      DialogDriver::press(IDCANCEL)(box);
    });
    EXPECT_FALSE(prompts_.showing());
    c.show();
    EXPECT_TRUE(driver.finished());
    EXPECT_EQ(whileOpen, kWhileAPrompt);
    EXPECT_TRUE(showing);
    EXPECT_EQ(launcher.enabled(), kAsBefore);
    EXPECT_FALSE(prompts_.showing());
  }
}

TEST_F(Win32PromptsTest, APromptInsideAPromptGivesBackOnlyWhatItTook) {
  LauncherWindows launcher;
  prompts_.setOwner(launcher.owner());
  HWND nameBox = nullptr;
  std::vector<bool> inside, afterInside;
  bool nameBoxHeld = false, nameBoxBack = false;
  DialogDriver driver;
  driver
      .then([&](const DialogSnapshot& box) {
        // A box over the name box, as a dialog's own handler shows one.
        nameBox = box.window;
        plainBox(nameBox, "inside");
        afterInside = launcher.enabled();
        nameBoxBack = IsWindowEnabled(nameBox) != FALSE;
        DialogDriver::press(IDCANCEL)(box);
      })
      .then([&](const DialogSnapshot& box) {
        inside = launcher.enabled();
        nameBoxHeld = !IsWindowEnabled(nameBox) && GetWindow(box.window, GW_OWNER) == nameBox;
        DialogDriver::press(IDOK)(box);
      });
  EXPECT_EQ(prompts_.askName("outside", ""), std::nullopt);
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(inside, kWhileAPrompt);
  EXPECT_TRUE(nameBoxHeld) << "the outer prompt waits for the inner one";
  EXPECT_EQ(afterInside, kWhileAPrompt) << "the outer prompt still holds the launcher";
  EXPECT_TRUE(nameBoxBack);
  EXPECT_EQ(launcher.enabled(), kAsBefore);
}

TEST_F(Win32PromptsTest, NameBoxLayout) {
  const std::string prompt = "名前を入力して下さい。";
  const std::string suggestion = "予定表ソ1";
  struct Layout {
    RECT client, expectedClient, label, edit, ok, cancel, window, screen;
    std::wstring labelText, editText;
    DWORD selection, limit, defaultId;
    bool editHasFocus;
  } seen{};
  DialogDriver driver;
  driver.then([&](const DialogSnapshot& box) {
    const HWND dialog = box.window;
    // Windows converts a control's position and its size each on its own.
    auto dlu = [&](int x, int y, int cx, int cy) {
      RECT position{x, y, cx, cy};
      MapDialogRect(dialog, &position);
      return RECT{position.left, position.top, position.left + position.right, position.top + position.bottom};
    };
    GetClientRect(dialog, &seen.client);
    seen.expectedClient = dlu(0, 0, 180, 63);
    const HWND edit = GetDlgItem(dialog, Win32Prompts::kNameEditId);
    seen.label = childRect(GetDlgItem(dialog, Win32Prompts::kNamePromptId));
    seen.edit = childRect(edit);
    seen.ok = childRect(GetDlgItem(dialog, IDOK));
    seen.cancel = childRect(GetDlgItem(dialog, IDCANCEL));
    // Where each should be, in the same order.
    const RECT expected[] = {dlu(8, 8, 0, 0), dlu(8, 19, 164, 0), dlu(38, 41, 50, 14), dlu(92, 41, 50, 14)};
    RECT* actual[] = {&seen.label, &seen.edit, &seen.ok, &seen.cancel};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(actual[i]->left, expected[i].left) << i;
      EXPECT_EQ(actual[i]->top, expected[i].top) << i;
      if (i >= 1) {
        EXPECT_EQ(actual[i]->right, expected[i].right) << i;
      }
      if (i >= 2) {
        EXPECT_EQ(actual[i]->bottom, expected[i].bottom) << i;
      }
    }
    GetWindowRect(dialog, &seen.window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    seen.screen = monitor.rcMonitor;
    seen.labelText = windowText(GetDlgItem(dialog, Win32Prompts::kNamePromptId));
    seen.editText = windowText(edit);
    seen.selection = static_cast<DWORD>(SendMessageW(edit, EM_GETSEL, 0, 0));
    seen.limit = static_cast<DWORD>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    seen.defaultId = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
    seen.editHasFocus = GetFocus() == edit;
    DialogDriver::press(IDCANCEL)(box);
  });
  EXPECT_EQ(prompts_.askName(prompt, suggestion), std::nullopt);
  ASSERT_TRUE(driver.finished());
  const DialogSnapshot& box = driver.seen().at(0);
  EXPECT_EQ(box.caption, L"デザイン名の指定");
  EXPECT_EQ(buttonsOf(box), (std::vector<std::pair<int, std::wstring>>{{IDOK, L"OK"}, {IDCANCEL, L"キャンセル"}}));
  EXPECT_EQ(seen.client.right, seen.expectedClient.right);
  EXPECT_EQ(seen.client.bottom, seen.expectedClient.bottom);
  EXPECT_EQ(seen.labelText, toWide(prompt));
  EXPECT_EQ(seen.editText, toWide(suggestion));
  EXPECT_EQ(LOWORD(seen.selection), 0);
  EXPECT_EQ(HIWORD(seen.selection), toWide(suggestion).size()) << "the whole suggestion is selected";
  EXPECT_TRUE(seen.editHasFocus);
  EXPECT_EQ(seen.limit, 255u);
  EXPECT_EQ(seen.defaultId, static_cast<DWORD>(IDOK));
  EXPECT_NEAR((seen.window.left + seen.window.right) / 2, (seen.screen.left + seen.screen.right) / 2, 1);
  EXPECT_NEAR((seen.window.top + seen.window.bottom) / 2, (seen.screen.top + seen.screen.bottom) / 2, 1);
}

// The extent of `text` drawn as the static control draws it, in the control's width and font.
RECT wrappedExtent(HWND label, const std::wstring& text) {
  RECT r{};
  GetClientRect(label, &r);
  HDC dc = GetDC(label);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return r;
}

TEST_F(Win32PromptsTest, NameBoxShowsALongPromptWhole) {
  const std::vector<std::string> prompts = {
      "メニューに表示するデザイン名を入力して下さい。",
      // Blanks let every line breaker wrap it, not only those that break between Japanese characters.
      "メニューに表示する デザイン名を 入力して下さい。 名前は 二百五十五文字までで、 一覧にある名前と 同じ名前は"
      " 使えません。 前後の空白は 取り除かれます。",
  };
  for (const auto& prompt : prompts) {
    SCOPED_TRACE(prompt.size());
    struct {
      RECT label, edit, ok, cancel, client, oneLine;
      RECT needed;
    } seen{};
    DialogDriver driver;
    driver.then([&](const DialogSnapshot& box) {
      const HWND label = GetDlgItem(box.window, Win32Prompts::kNamePromptId);
      seen.label = childRect(label);
      seen.edit = childRect(GetDlgItem(box.window, Win32Prompts::kNameEditId));
      seen.ok = childRect(GetDlgItem(box.window, IDOK));
      seen.cancel = childRect(GetDlgItem(box.window, IDCANCEL));
      GetClientRect(box.window, &seen.client);
      seen.oneLine = RECT{8, 8, 164, 63};  // label origin, width, and the one-line client height
      MapDialogRect(box.window, &seen.oneLine);
      seen.needed = wrappedExtent(label, toWide(prompt));
      DialogDriver::press(IDCANCEL)(box);
    });
    EXPECT_EQ(prompts_.askName(prompt, "x"), std::nullopt);
    ASSERT_TRUE(driver.finished());
    EXPECT_LE(seen.needed.bottom, seen.label.bottom - seen.label.top) << "every line of the prompt is shown";
    EXPECT_LE(seen.needed.right, seen.label.right - seen.label.left) << "and all of each line";
    EXPECT_EQ(seen.label.right - seen.label.left, seen.oneLine.right) << "wrapped, not widened";
    const int extra = seen.client.bottom - seen.oneLine.bottom;
    EXPECT_GE(extra, 0);
    if (&prompt == &prompts.back()) {
      EXPECT_GT(extra, 0) << "the long prompt takes more than one line";
    }
    EXPECT_LE(seen.label.bottom, seen.edit.top);
    EXPECT_LE(seen.edit.bottom, seen.ok.top);
    EXPECT_EQ(seen.ok.top, seen.cancel.top);
    EXPECT_GE(seen.client.bottom, seen.ok.bottom);
  }
}

TEST_F(Win32PromptsTest, NameBoxAnswers) {
  const std::string suggestion = "デザイン表1";
  std::string longest;
  for (int i = 0; i < 255; ++i) longest += "表";
  using D = DialogDriver;
  struct Case {
    const char* what;
    DialogDriver::Action action;
    std::optional<std::string> result;
  };
  const std::vector<Case> cases = {
      {"OK on the suggestion", D::press(IDOK), suggestion},
      {"typing replaces the selected suggestion; blanks are kept", D::type(L"  新しい ソ表 ", D::press(IDOK)),
       "  新しい ソ表 "},
      {"Enter", D::type(L"x", D::pressEnter()), "x"},
      {"キャンセル after typing", D::type(L"x", D::press(IDCANCEL)), std::nullopt},
      {"Esc", D::pressEscape(), std::nullopt},
      {"the close box", D::closeBox(), std::nullopt},
      {"no more than 255 characters", D::type(std::wstring(300, L'表'), D::press(IDOK)), longest},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver;
    driver.then(c.action);
    EXPECT_EQ(prompts_.askName("名前", suggestion), c.result);
    EXPECT_TRUE(driver.finished());
  }
}

TEST_F(Win32PromptsTest, NameBoxRefusesWhatCodePage932CannotHold) {
  DialogDriver driver;
  driver.then(DialogDriver::type(L"caf\u00E9", DialogDriver::press(IDOK))).then(DialogDriver::press(IDOK));
  EXPECT_EQ(prompts_.askName("名前", "デザイン1"), std::nullopt);
  ASSERT_TRUE(driver.finished());
  ASSERT_EQ(driver.seen().size(), 2u);
  const DialogSnapshot& told = driver.seen().at(1);
  EXPECT_EQ(told.caption, L"Lumisk");
  ASSERT_EQ(told.texts().size(), 1u);
  EXPECT_NE(told.texts()[0].find(L"シフトJIS"), std::wstring::npos);
}

class DesignFileDialogTest : public Win32PromptsTest {
 protected:
  void SetUp() override {
    folder_ = folderRoot_.path() + L"表ソ\\";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << testing::kJapaneseNames;
    for (const wchar_t* name : {L"a.dsg", L"予定表.dsg", L"b.txt", L"caf\u00E9.dsg"})
      testing::writeBytes(folder_ + name, "");
  }

  testing::TempFolder folderRoot_;
  std::wstring folder_;
};

TEST_F(DesignFileDialogTest, ShowsDesignFilesOfTheInitialFolder) {
  std::vector<std::wstring> filters;
  LRESULT selectedFilter = -1;
  std::wstring lookIn;
  DialogDriver driver;
  driver.then([&](const DialogSnapshot& box) {
    const HWND types = GetDlgItem(box.window, cmb1);
    filters = host::listTexts(types);
    selectedFilter = SendMessageW(types, CB_GETCURSEL, 0, 0);
    lookIn = windowText(GetDlgItem(box.window, cmb2));
    DialogDriver::press(IDCANCEL)(box);
  });
  EXPECT_EQ(prompts_.chooseDesignFile(*toCp932(folder_)), std::nullopt);
  ASSERT_TRUE(driver.finished());
  EXPECT_EQ(driver.seen().at(0).caption, L"デザインファイルの指定");
  EXPECT_EQ(filters, (std::vector<std::wstring>{L"デザインファイル(*.dsg)", L"すべてのファイル(*.*)"}));
  EXPECT_EQ(selectedFilter, 0);
  EXPECT_EQ(lookIn, L"表ソ");
}

TEST_F(DesignFileDialogTest, AnswersTheFullPath) {
  const std::string folder = *toCp932(folder_);
  struct Case {
    const char* what;
    std::wstring typed;
    std::optional<std::string> result;
  };
  const std::vector<Case> cases = {
      {"a file of the folder", L"予定表.dsg", folder + "予定表.dsg"},
      {"any file", L"b.txt", folder + "b.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DialogDriver driver;
    driver.then(DialogDriver::submit(c.typed));
    EXPECT_EQ(prompts_.chooseDesignFile(folder), c.result);
    EXPECT_TRUE(driver.finished());
  }
}

TEST_F(DesignFileDialogTest, RefusesAPathThatCodePage932CannotHold) {
  DialogDriver driver;
  driver.then(DialogDriver::submit(L"caf\u00E9.dsg")).then(DialogDriver::press(IDOK));
  EXPECT_EQ(prompts_.chooseDesignFile(*toCp932(folder_)), std::nullopt);
  ASSERT_TRUE(driver.finished());
  ASSERT_EQ(driver.seen().size(), 2u);
  EXPECT_EQ(driver.seen()[1].caption, L"Lumisk");
  ASSERT_EQ(driver.seen()[1].texts().size(), 1u);
  EXPECT_NE(driver.seen()[1].texts()[0].find(L"シフトJIS"), std::wstring::npos);
}

}  // namespace
}  // namespace lumisk
