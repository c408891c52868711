// Opens the editor window on sample designs and keeps it on screen for a while, for looking at it (and
// taking screenshots) under a display. Not a test. Arguments, any of:
//   large     enlarge the window to 720 x 640, so that all 31 value rows show
//   two       select two designs
//   sparse    select the design with unset values and an empty wallpaper
//   values    select three value rows
//   hint      show the hint of one menu item in the status bar
//   nohint    open with hint help off
//   seconds=N stay open N seconds (default 8)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/editor/EditorFixture.h"

namespace lumisk::testing {
namespace {

class Preview : public EditorTest {
 public:
  void TestBody() override {}
  int run(int argc, char** argv) {
    bool large = false, two = false, sparseOnly = false, values = false, hint = false, noHint = false;
    int seconds = 8;
    for (int i = 1; i < argc; ++i) {
      const std::string a = argv[i];
      large |= a == "large";
      two |= a == "two";
      sparseOnly |= a == "sparse";
      values |= a == "values";
      hint |= a == "hint";
      noHint |= a == "nohint";
      if (a.rfind("seconds=", 0) == 0) seconds = std::atoi(a.c_str() + 8);
    }
    SetUp();
    std::vector<std::string> main = {"Left=40", "Top=40"};
    if (large) main.push_back("Col1Width=220");  // room for the wallpaper path
    if (noHint) main.push_back("HintHelp=0");
    begin({"標準のデザイン", "未設定の多いデザイン", "縦長パッド", "Ｐａｄ & ソ表示", "夜"}, main);
    TDesign sparse = TDesign::unset();
    sparse.intValues[14] = 0x0000FF;  // BtnColor
    sparse.intValues[21] = 8;         // Cols
    sparse.wallPaper() = "";
    plug.designs().design(1) = sparse;
    plug.designs().design(0).wallPaper() = "C:\\Documents and Settings\\ユーザー\\My Pictures\\壁紙\\夜景.bmp";
    TEditForm& form = open();
    if (large) SetWindowPos(form.hwnd(), nullptr, 0, 0, 720, 640, SWP_NOMOVE | SWP_NOZORDER);
    if (two) selectDesigns(form, {0, 2});
    if (sparseOnly) selectDesigns(form, {1});
    if (values) selectValues(form, {4, 5, 6});
    if (hint) {
      SendMessageW(form.hwnd(), WM_MENUSELECT, MAKEWPARAM(kCmdRename, MF_STRING | MF_HILITE),
                   reinterpret_cast<LPARAM>(GetMenu(form.hwnd())));
    }
    SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER && !msg.hwnd) break;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (!isOpen()) break;
    }
    TearDown();
    return 0;
  }
};

}  // namespace
}  // namespace lumisk::testing

int main(int argc, char** argv) {
  lumisk::testing::Preview preview;
  return preview.run(argc, argv);
}
