// The value dialog and the colour and picture dialogs created for real and driven from inside their
// modal loops.
#include <gtest/gtest.h>
#include <windows.h>
#include <colordlg.h>
#include <commdlg.h>

#include "editor/IconImages.h"
#include "editor/value/PictureDialog.h"
#include "editor/value/ValueEditing.h"
#include "editor/value/ValueForm.h"
#include "host/script/DialogDriver.h"
#include "tests/support/Fakes.h"
#include "win32/Cp932.h"
#include "win32/Ui.h"

namespace lumisk {
namespace {

using host::childRect;
using host::click;
using host::DialogDriver;

constexpr int kRowHeight = 15;
constexpr int kRowRows = 2, kRowBtnColor = 4, kRowBtnWidth = 6, kRowBtnHeight = 7, kRowBtnCaption = 9,
              kRowWallPaper = 25, kRowHideSize = 30;
constexpr int kRows = 22, kBtnWidth = 10, kBtnHeight = 11, kBtnCaption = 12, kBtnColor = 14, kHideSize = 20;

const DialogDriver::Match kValueForm = DialogDriver::captioned(L"設定値の変更");

HWND item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

HWND valueEdit(HWND dialog) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(item(dialog, TValueForm::kValueId), &info);
  return info.hwndItem;
}

void expectRect(HWND dialog, int id, int left, int top, int width, int height) {
  const RECT r = childRect(item(dialog, id));
  EXPECT_EQ(r.left, left) << "control " << id;
  EXPECT_EQ(r.top, top) << "control " << id;
  EXPECT_EQ(r.right - r.left, width) << "control " << id;
  EXPECT_EQ(r.bottom - r.top, height) << "control " << id;
}

std::wstring listText(HWND combo, int index) {
  wchar_t buffer[256] = {};
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

bool visible(HWND dialog, int id) { return IsWindowVisible(item(dialog, id)) != FALSE; }

class ValueFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"editor", WS_OVERLAPPEDWINDOW, 0, 0, 400, 350, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner_);
    design_ = TDesign::unset();
    liveGuiObjects_ = GuiCounters::liveTotal();
  }
  void TearDown() override {
    DestroyWindow(owner_);
    EXPECT_EQ(GuiCounters::liveTotal(), liveGuiObjects_) << "every font, bitmap and DC is released";
  }

  // The modify command with the real dialogs over the owner, or with `dialogs` when given.
  bool modify(int row, ValueDialogs* dialogs = nullptr) {
    Win32ValueDialogs real(owner_, GetModuleHandleW(nullptr), images_.get(), kRowHeight, colours_);
    return modifyValue(design_, row, dialogs ? *dialogs : real);
  }

  HWND owner_ = nullptr;
  ImageListHandle images_ = createIconImageList();
  int liveGuiObjects_ = 0;
  testing::ScriptedPrompts prompts_;
  ColourDialogState colours_;
  TDesign design_;
};

TEST_F(ValueFormTest, ListModeLayoutOptionsAndChoice) {
  design_.intValues[kBtnCaption] = 2;
  DialogDriver driver;
  driver.then(kValueForm, [&](HWND dialog) {
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 365);
    EXPECT_EQ(client.bottom, 91);
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT frame{};
    GetWindowRect(dialog, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_FALSE(IsWindowEnabled(owner_));

    expectRect(dialog, TValueForm::kItemId, 16, 8, 150, 12);
    expectRect(dialog, TValueForm::kValueId, 32, 24, 233, 20);
    expectRect(dialog, TValueForm::kUpDownId, 248, 24, 20, 20);
    expectRect(dialog, TValueForm::kSelectId, 248, 24, 41, 20);
    expectRect(dialog, TValueForm::kOkId, 152, 56, 75, 25);
    expectRect(dialog, TValueForm::kCancelId, 256, 56, 75, 25);
    expectRect(dialog, TValueForm::kClearId, 296, 24, 57, 20);
    EXPECT_EQ(windowText(item(dialog, TValueForm::kItemId)), toWide("ボタン名"));
    EXPECT_EQ(windowText(item(dialog, TValueForm::kSelectId)), toWide("選択..."));
    EXPECT_EQ(windowText(item(dialog, TValueForm::kCancelId)), toWide("キャンセル"));
    EXPECT_EQ(windowText(item(dialog, TValueForm::kClearId)), toWide("クリア(&C)"));
    EXPECT_FALSE(visible(dialog, TValueForm::kUpDownId));
    EXPECT_FALSE(visible(dialog, TValueForm::kSelectId));
    EXPECT_FALSE(visible(dialog, TValueForm::kClearId));
    // Other Wine programs may hold the foreground; the focus only shows while the dialog is active.
    if (GetActiveWindow() == dialog) {
      EXPECT_EQ(GetFocus(), item(dialog, TValueForm::kValueId));
    }

    HWND combo = item(dialog, TValueForm::kValueId);
    EXPECT_TRUE(GetWindowLongPtrW(combo, GWL_STYLE) & CBS_OWNERDRAWFIXED);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(listText(combo, 0), toWide("表示しない"));
    EXPECT_EQ(listText(combo, 1), toWide("アイコンの下に表示"));
    EXPECT_EQ(listText(combo, 2), toWide("アイコンの右に表示"));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), kRowHeight);
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    click(dialog, IDOK);
  });
  EXPECT_TRUE(modify(kRowBtnCaption));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(design_.intValues[kBtnCaption], 0);
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(ValueFormTest, SizeListOpensOnTheListedSizeOrOnNothing) {
  design_.intValues[kBtnWidth] = 30;
  design_.intValues[kBtnHeight] = 200;
  DialogDriver driver;
  driver.then(kValueForm, [](HWND dialog) {
    HWND combo = item(dialog, TValueForm::kValueId);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 31);
    EXPECT_EQ(listText(combo, 30), L" 128");
    const auto selected = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(selected, 5);
    EXPECT_EQ(listText(combo, selected), L" 28");
    click(dialog, IDOK);
  });
  driver.then(kValueForm, [](HWND dialog) {
    EXPECT_EQ(SendMessageW(item(dialog, TValueForm::kValueId), CB_GETCURSEL, 0, 0), CB_ERR);
    click(dialog, IDOK);
  });
  EXPECT_TRUE(modify(kRowBtnWidth));
  EXPECT_TRUE(modify(kRowBtnHeight));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(design_.intValues[kBtnWidth], 28);
  EXPECT_EQ(design_.intValues[kBtnHeight], kUnsetInt);
}

TEST_F(ValueFormTest, NumberFieldTakesDigitsOnlyAndSpinsWithinTheRange) {
  design_.intValues[kRows] = 300;
  DialogDriver driver;
  driver.then(kValueForm, [](HWND dialog) {
    HWND combo = item(dialog, TValueForm::kValueId);
    HWND edit = valueEdit(dialog);
    HWND spin = item(dialog, TValueForm::kUpDownId);
    ASSERT_TRUE(edit);
    EXPECT_TRUE(visible(dialog, TValueForm::kUpDownId));
    EXPECT_FALSE(visible(dialog, TValueForm::kSelectId));
    expectRect(dialog, TValueForm::kUpDownId, 248, 24, 20, 20);
    expectRect(dialog, TValueForm::kValueId, 32, 24, 233, 20);
    EXPECT_EQ(windowText(combo), L"150");
    int low = 0, high = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 150);

    for (const wchar_t c : {L'a', L'-', L' ', L'.', L'ア', wchar_t{0x16}}) SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(windowText(combo), L"150") << "only digits and backspace are typed";

    SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(windowText(combo), L"150") << "no wrap past the maximum";
    SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(windowText(combo), L"149");

    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (const wchar_t c : {L'7', L'x', L'5'}) SendMessageW(edit, WM_CHAR, c, 0);
    EXPECT_EQ(windowText(combo), L"75");
    SendMessageW(edit, WM_CHAR, 8, 0);
    EXPECT_EQ(windowText(combo), L"7") << "backspace works";
    SendMessageW(edit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(windowText(combo), L"8") << "stepping starts from the typed number";

    // The spin control's own lower button.
    RECT r{};
    GetClientRect(spin, &r);
    const LPARAM lower = MAKELPARAM(r.right / 2, r.bottom * 3 / 4);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, lower);
    SendMessageW(spin, WM_LBUTTONUP, 0, lower);
    EXPECT_EQ(windowText(combo), L"7");
    click(dialog, IDOK);
  });
  EXPECT_TRUE(modify(kRowRows));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(design_.intValues[kRows], 7);
}

TEST_F(ValueFormTest, NumberOutsideTheRangeKeepsTheLastValidPosition) {
  design_.intValues[kHideSize] = -1;
  design_.intValues[kRows] = 40;
  DialogDriver driver;
  driver.then(kValueForm, [](HWND dialog) {
    HWND combo = item(dialog, TValueForm::kValueId);
    EXPECT_EQ(windowText(combo), L"0") << "unset starts at the minimum";
    SendMessageW(valueEdit(dialog), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(windowText(combo), L"0") << "no wrap past the minimum";
    click(dialog, IDOK);
  });
  driver.then(kValueForm, [](HWND dialog) {
    SendMessageW(valueEdit(dialog), WM_KEYDOWN, VK_UP, 0);
    SetWindowTextW(item(dialog, TValueForm::kValueId), L"999");  // pasted, beyond the maximum
    click(dialog, IDOK);
  });
  driver.then(kValueForm, [](HWND dialog) {
    SetWindowTextW(item(dialog, TValueForm::kValueId), L"");  // emptied; 0 is not one of the rows
    click(dialog, IDOK);
  });
  EXPECT_TRUE(modify(kRowHideSize));
  EXPECT_EQ(design_.intValues[kHideSize], 0);
  EXPECT_TRUE(modify(kRowRows));
  EXPECT_EQ(design_.intValues[kRows], 41);
  EXPECT_TRUE(modify(kRowRows));
  EXPECT_EQ(design_.intValues[kRows], 41);
  EXPECT_TRUE(driver.finished());
}

TEST_F(ValueFormTest, PathClearThenOkStoresTheEmptyPathAndCancelStoresNothing) {
  DialogDriver driver;
  driver.then(kValueForm, [](HWND dialog) {
    HWND combo = item(dialog, TValueForm::kValueId);
    EXPECT_EQ(windowText(combo), L"-");
    EXPECT_TRUE(visible(dialog, TValueForm::kSelectId));
    EXPECT_TRUE(visible(dialog, TValueForm::kClearId));
    EXPECT_FALSE(visible(dialog, TValueForm::kUpDownId));
    EXPECT_EQ(windowText(item(dialog, TValueForm::kItemId)), toWide("壁紙"));
    click(dialog, TValueForm::kClearId);
    EXPECT_EQ(windowText(combo), L"");
    click(dialog, IDOK);
  });
  driver.then(kValueForm, [](HWND dialog) {
    SetWindowTextW(item(dialog, TValueForm::kValueId), L"C:\\other.bmp");
    click(dialog, IDCANCEL);
  });
  driver.then(kValueForm, [](HWND dialog) {
    // A character that code page 932 lacks could only be stored damaged: the person is told, and the
    // dialog stays open.
    SetWindowTextW(item(dialog, TValueForm::kValueId), L"C:\\\u00e9t\u00e9.bmp");
    click(dialog, IDOK);
  });
  driver.then(DialogDriver::captioned(L"Lumisk"), [](HWND box) { click(box, IDOK); });
  driver.then(kValueForm, [](HWND dialog) { click(dialog, IDCANCEL); });
  driver.then(kValueForm, [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); });
  EXPECT_TRUE(modify(kRowWallPaper));
  EXPECT_EQ(design_.wallPaper(), "");
  EXPECT_FALSE(modify(kRowWallPaper));
  EXPECT_FALSE(modify(kRowWallPaper));
  EXPECT_FALSE(modify(kRowBtnCaption));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(design_.wallPaper(), "");
  EXPECT_EQ(design_.intValues[kBtnCaption], kUnsetInt);
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

// ---- The real picture dialog ----------------------------------------------------------------------

// A 2 x 3 bitmap file of 24 bits per pixel.
void writeBitmap(const std::wstring& path) {
  const int width = 2, height = 3, stride = 8;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = stride * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(info.biSizeImage, '\x80');
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(out);
  ASSERT_EQ(written, bytes.size());
}

class PictureDialogTest : public ValueFormTest {
 protected:
  void SetUp() override {
    ValueFormTest::SetUp();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"lumisk-value-test";
    CreateDirectoryW(folder_.c_str(), nullptr);
    folder_ += L"\\img";
    CreateDirectoryW(folder_.c_str(), nullptr);
    writeBitmap(folder_ + L"\\a.bmp");
    writeBitmap(folder_ + L"\\b.bmp");
  }
  std::wstring folder_;
};

const DialogDriver::Match kFileDialog = DialogDriver::captioned(L"ファイル名指定");

TEST_F(PictureDialogTest, OpensInTheFieldsFolderWithItsFileNameAndPreview) {
  const std::string start = toCp932(folder_ + L"\\a.bmp").value();
  design_.wallPaper() = start;
  DialogDriver driver;
  driver.then(kValueForm, [&](HWND dialog) { click(dialog, TValueForm::kSelectId); });
  driver.then(kFileDialog, [&](HWND files) {
    const std::wstring path = host::folderOf(files);
    EXPECT_EQ(CompareStringOrdinal(path.c_str(), -1, folder_.c_str(), -1, TRUE), CSTR_EQUAL)
        << "folder " << toCp932(path).value_or("?");
    wchar_t fileSpec[MAX_PATH] = {};
    SendMessageW(files, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(fileSpec));
    EXPECT_STREQ(fileSpec, L"a.bmp");
    HWND preview = FindWindowExW(files, nullptr, L"#32770", nullptr);
    ASSERT_TRUE(preview);
    EXPECT_EQ(windowText(GetDlgItem(preview, kPictureSizeId)), L"2 x 3");
    PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
  });
  driver.then(kValueForm, [&](HWND dialog) {
    HWND combo = item(dialog, TValueForm::kValueId);
    EXPECT_EQ(toCp932(windowText(combo)), start) << "a cancel leaves the field as it was";
    const auto selection = static_cast<DWORD>(SendMessageW(combo, CB_GETEDITSEL, 0, 0));
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), windowText(combo).size());
    click(dialog, TValueForm::kSelectId);
  });
  driver.then(kFileDialog, DialogDriver::submit(L"b.bmp"));
  driver.then(kValueForm, [](HWND dialog) { click(dialog, IDOK); });
  EXPECT_TRUE(modify(kRowWallPaper));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(CompareStringOrdinal(toWide(design_.wallPaper()).c_str(), -1, (folder_ + L"\\b.bmp").c_str(), -1, TRUE),
            CSTR_EQUAL)
      << design_.wallPaper();
}

TEST_F(PictureDialogTest, FieldWithoutFolderOrValidNameStillOpens) {
  for (const char* text : {"-", "", "a<b>|.bmp"}) {
    DialogDriver driver;
    std::wstring fileSpec;
    driver.then(kFileDialog, [&](HWND files) {
      wchar_t buffer[MAX_PATH] = {};
      SendMessageW(files, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(buffer));
      fileSpec = buffer;
      PostMessageW(files, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(showPictureDialog(owner_, text), std::nullopt) << text;
    EXPECT_TRUE(driver.finished()) << text;
    if (std::string_view(text) == "-") {
      EXPECT_EQ(fileSpec, L"-");
    }
  }
}

// ---- The real colour dialog -----------------------------------------------------------------------

const DialogDriver::Match kColourDialog = DialogDriver::holding(COLOR_RED);

int colourField(HWND dialog, int id) { return _wtoi(windowText(GetDlgItem(dialog, id)).c_str()); }

TEST_F(ValueFormTest, ColourDialogStartsAtTheValueAndKeepsCustomColours) {
  design_.intValues[kBtnColor] = 0x0000FF;  // red
  DialogDriver driver;
  driver.then(kColourDialog, [](HWND dialog) {
    EXPECT_EQ(colourField(dialog, COLOR_RED), 255);
    EXPECT_EQ(colourField(dialog, COLOR_GREEN), 0);
    EXPECT_EQ(colourField(dialog, COLOR_BLUE), 0);
    SetDlgItemTextW(dialog, COLOR_RED, L"0");
    SetDlgItemTextW(dialog, COLOR_GREEN, L"128");
    click(dialog, COLOR_ADD);
    click(dialog, IDOK);
  });
  EXPECT_TRUE(modify(kRowBtnColor));
  EXPECT_EQ(design_.intValues[kBtnColor], 0x008000);
  EXPECT_EQ(colours_.customColours[0], RGB(0, 128, 0)) << "the added custom colour is kept by the editor";

  // Cancelled: unchanged, but the list is still repainted; the custom colours are offered again.
  design_.intValues[kBtnColor] = kUnsetInt;
  driver.then(kColourDialog, [](HWND dialog) {
    EXPECT_EQ(colourField(dialog, COLOR_RED), 255) << "unset starts at white";
    EXPECT_EQ(colourField(dialog, COLOR_GREEN), 255);
    EXPECT_EQ(colourField(dialog, COLOR_BLUE), 255);
    click(dialog, IDCANCEL);
  });
  EXPECT_TRUE(modify(kRowBtnColor));
  EXPECT_TRUE(driver.finished());
  EXPECT_EQ(design_.intValues[kBtnColor], kUnsetInt);
  EXPECT_EQ(colours_.customColours[0], RGB(0, 128, 0));
}

TEST_F(ValueFormTest, HeadingRowOpensNothingAndClearAsksFirst) {
  DialogDriver driver;  // nothing may open
  EXPECT_FALSE(modify(3));
  design_.intValues[kHideSize] = 10;
  std::array<bool, kRowCount> rows{};
  rows[27] = true;  // "◆ 隠れている状態"
  prompts_.confirms.push_back(true);
  EXPECT_TRUE(clearValues(design_, rows, prompts_));
  EXPECT_EQ(prompts_.confirmed, std::vector<std::string>{"\"隠れている状態：サイズ\"\r\n"
                                                          "の設定値を消去してもよろしいですか？"});
  EXPECT_EQ(design_.intValues[kHideSize], kUnsetInt);
}

}  // namespace
}  // namespace lumisk
