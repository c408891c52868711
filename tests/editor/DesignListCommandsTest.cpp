// The commands on the design list: rename, up, down, drag and drop with its scroll, delete, register,
// apply, import and export.
#include <windows.h>
#include <commdlg.h>

#include "tests/editor/EditorFixture.h"
#include "tests/support/Golden.h"

namespace lumisk::testing {
namespace {

using Names = std::vector<std::string>;

POINT rowCentre(TEditForm& form, int row) {
  RECT r{};
  designListOf(form).itemRect(row, r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Every command keeps the list box and the working copy in step.
void expectRows(TEditForm& form, const Names& names) {
  EXPECT_EQ(EditorTest::rowNames(form), names);
  EXPECT_EQ(EditorTest::listNames(form), names);
}

// ---- Rename -------------------------------------------------------------------------------------

struct RenameCase {
  const char* what;
  std::optional<std::string> answer;  // nullopt: the prompt is cancelled
  Names rows;                         // afterwards
  std::vector<std::string> informed;
};

class RenameTest : public EditorTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameTest, AcceptsOnlyANewNameAndKeepsTheRecordAndTheSelection) {
  const RenameCase& c = GetParam();
  begin({"A", "B", "C"});
  TEditForm& form = open();
  selectDesigns(form, {1});
  prompts.names.push_back(c.answer);
  command(form, kCmdRename);
  ASSERT_EQ(prompts.namePrompts.size(), 1u);
  EXPECT_EQ(prompts.namePrompts[0], "変更後のデザイン名を入力して下さい。");
  EXPECT_EQ(prompts.nameSuggestions[0], "B");
  expectRows(form, c.rows);
  EXPECT_EQ(prompts.informed, c.informed) << c.what;
  const bool renamed = c.rows[1] != "B";
  EXPECT_EQ(form.workingCopy().modified(), renamed) << c.what;
  EXPECT_EQ(form.workingCopy().rows().design(1), sampleDesign(1));
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{1});
  EXPECT_TRUE(menuOf(form).enabled(kCmdRename));
}

const char* const kDuplicate = "デザインの名前が重複しています。処理を中断します。";
const char* const kInvalid = "デザインの名前が不正です。処理を中断します。";

INSTANTIATE_TEST_SUITE_P(
    Answers, RenameTest,
    ::testing::Values(RenameCase{"new name", "新しい名前", {"A", "新しい名前", "C"}, {}},
                      RenameCase{"blanks around", "  表示 ソ  ", {"A", "表示 ソ", "C"}, {}},
                      RenameCase{"another row's name", "C", {"A", "B", "C"}, {kDuplicate}},
                      RenameCase{"its own name", " B ", {"A", "B", "C"}, {kDuplicate}},
                      RenameCase{"empty", "   ", {"A", "B", "C"}, {kInvalid}},
                      RenameCase{"cancelled", std::nullopt, {"A", "B", "C"}, {}}));

TEST_F(EditorTest, DoubleClickRenamesAndTwoSelectedDesignsAreNotRenamed) {
  begin({"A", "B"});
  TEditForm& form = open();
  prompts.names.push_back(std::string("Z"));
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdDesignList, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(designListOf(form).hwnd()));
  expectRows(form, {"Z", "B"});
  selectDesigns(form, {0, 1});
  SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(kIdDesignList, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(designListOf(form).hwnd()));
  EXPECT_EQ(prompts.namePrompts.size(), 1u);
}

// ---- Up and down --------------------------------------------------------------------------------

TEST_F(EditorTest, UpAndDownMoveTheSameDesignAndDoNothingAtTheEnds) {
  begin({"A", "B", "C"});
  TEditForm& form = open();
  command(form, kCmdUpper);  // row 0
  expectRows(form, {"A", "B", "C"});
  EXPECT_FALSE(form.workingCopy().modified());
  selectDesigns(form, {2});
  command(form, kCmdLower);  // last row
  expectRows(form, {"A", "B", "C"});
  EXPECT_FALSE(form.workingCopy().modified());

  command(form, kCmdUpper);
  command(form, kCmdUpper);
  expectRows(form, {"C", "A", "B"});
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{0});
  EXPECT_TRUE(form.workingCopy().modified());
  command(form, kCmdLower);
  expectRows(form, {"A", "C", "B"});
  EXPECT_EQ(form.workingCopy().rows().design(1), sampleDesign(2));  // the record moved with its name

  selectDesigns(form, {0, 1});
  command(form, kCmdLower);  // disabled with two selected
  expectRows(form, {"A", "C", "B"});
}

// ---- Drag and drop (driven through the drag handlers) -------------------------------------------

struct DropCase {
  int from;
  int to;
  Names rows;
};

class DropTest : public EditorTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropTest, TheDraggedDesignTakesTheIndexOfTheRowItIsDroppedOn) {
  const DropCase& c = GetParam();
  begin({"A", "B", "C", "D"});
  TEditForm& form = open();
  selectDesigns(form, {c.from});
  const HWND list = designListOf(form).hwnd();
  const POINT target = rowCentre(form, c.to);
  EXPECT_TRUE(form.designDrag().DesignListDragOver(list, target));
  form.designDrag().DesignListDragDrop(list, target);
  expectRows(form, c.rows);
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{c.to});
  EXPECT_EQ(form.workingCopy().modified(), c.from != c.to);
}

INSTANTIATE_TEST_SUITE_P(Moves, DropTest,
                         ::testing::Values(DropCase{0, 2, {"B", "C", "A", "D"}}, DropCase{3, 1, {"A", "D", "B", "C"}},
                                           DropCase{2, 2, {"A", "B", "C", "D"}}));

TEST_F(EditorTest, DropsBelowTheLastRowFromElsewhereOrWithTwoSelectedAreRefused) {
  begin({"A", "B", "C", "D"});
  TEditForm& form = open();
  const HWND list = designListOf(form).hwnd();
  RECT last{};
  designListOf(form).itemRect(3, last);
  const POINT below{last.left + 5, last.bottom + 5};
  EXPECT_FALSE(form.designDrag().DesignListDragOver(list, below));
  form.designDrag().DesignListDragDrop(list, below);
  EXPECT_FALSE(form.designDrag().DesignListDragOver(valListOf(form).hwnd(), rowCentre(form, 2)));
  form.designDrag().DesignListDragDrop(valListOf(form).hwnd(), rowCentre(form, 2));
  selectDesigns(form, {0, 1});
  EXPECT_FALSE(form.designDrag().DesignListDragOver(list, rowCentre(form, 3)));
  form.designDrag().DesignListDragDrop(list, rowCentre(form, 3));
  expectRows(form, {"A", "B", "C", "D"});
  EXPECT_FALSE(form.workingCopy().modified());
}

TEST_F(EditorTest, DragScrollMovesOneRowPerNotificationUntilTheEnd) {
  Names names;
  for (int i = 0; i < 60; ++i) names.push_back(std::string("D").append(std::to_string(i)));
  begin(names);
  TEditForm& form = open();
  const auto list = designListOf(form);
  EXPECT_FALSE(form.designDrag().StatusBarDragOver());
  EXPECT_EQ(list.topIndex(), 1);
  int previous = 1;
  for (int i = 0; i < 100; ++i) {
    EXPECT_FALSE(form.designDrag().StatusBarDragOver());
    const int top = list.topIndex();
    EXPECT_TRUE(top == previous + 1 || top == previous) << i;
    previous = top;
  }
  RECT client{};
  GetClientRect(list.hwnd(), &client);
  const int visible = client.bottom / list.itemHeight();
  EXPECT_EQ(previous, 60 - visible);  // the last row at the bottom: no further
  EXPECT_FALSE(form.designDrag().lbDesignDragOver());
  EXPECT_EQ(list.topIndex(), previous - 1);
  for (int i = 0; i < 100; ++i) form.designDrag().lbDesignDragOver();
  EXPECT_EQ(list.topIndex(), 0);
  EXPECT_FALSE(form.workingCopy().modified());
}

// ---- Real mouse input ---------------------------------------------------------------------------

class MouseTest : public EditorTest {
 protected:
  static INPUT mouse(POINT screen, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    in.mi.dx = static_cast<LONG>((screen.x * 65536 + w / 2) / w);
    in.mi.dy = static_cast<LONG>((screen.y * 65536 + h / 2) / h);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return in;
  }
  static POINT screenPoint(TEditForm& form, int row, int dy = 0) {
    POINT p = rowCentre(form, row);
    p.y += dy;
    ClientToScreen(designListOf(form).hwnd(), &p);
    return p;
  }
  // Presses at `from`, moves in steps to `to`, releases there; then lets the loop take the input.
  static void drag(POINT from, POINT to) {
    std::vector<INPUT> inputs{mouse(from, 0), mouse(from, MOUSEEVENTF_LEFTDOWN)};
    for (int step = 1; step <= 8; ++step)
      inputs.push_back(mouse(POINT{from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8}, 0));
    inputs.push_back(mouse(to, MOUSEEVENTF_LEFTUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pump();
  }
};

TEST_F(MouseTest, ADragWithTheMouseMovesTheDesignAndAPlainClickSelectsOneRow) {
  begin({"A", "B", "C", "D"});
  TEditForm& form = open();
  SetWindowPos(form.hwnd(), HWND_TOP, 50, 50, 0, 0, SWP_NOSIZE);
  pump();
  drag(screenPoint(form, 0), screenPoint(form, 2));
  expectRows(form, {"B", "C", "A", "D"});
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{2});
  EXPECT_FALSE(form.designDrag().dragging());
  EXPECT_FALSE(GetCapture());

  // A press that is no drag still selects the row alone and refreshes the commands.
  selectDesigns(form, {0, 1, 3});
  EXPECT_FALSE(menuOf(form).enabled(kCmdRename));
  drag(screenPoint(form, 1), screenPoint(form, 1));
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{1});
  EXPECT_TRUE(menuOf(form).enabled(kCmdRename));
  expectRows(form, {"B", "C", "A", "D"});

  // Dragging one of several selected designs is refused.
  selectDesigns(form, {0, 1});
  drag(screenPoint(form, 0), screenPoint(form, 3));
  expectRows(form, {"B", "C", "A", "D"});
  EXPECT_EQ(selectedDesigns(form), (std::vector<int>{0, 1}));
}

TEST_F(MouseTest, DraggingOverTheStatusBarScrollsDownAndOverTheLabelScrollsUpWithoutMovingAnything) {
  Names names;
  for (int i = 0; i < 60; ++i) names.push_back(std::string("D").append(std::to_string(i)));
  begin(names);
  TEditForm& form = open();
  SetWindowPos(form.hwnd(), HWND_TOP, 50, 50, 0, 0, SWP_NOSIZE);
  pump();
  auto formPoint = [&](const LayoutRect& r, int dx) {
    POINT p{r.left + r.width() / 2 + dx, r.top + r.height() / 2};
    ClientToScreen(form.hwnd(), &p);
    return p;
  };
  auto send = [](const INPUT& input) {
    SendInput(1, const_cast<INPUT*>(&input), sizeof(INPUT));
    pump();
  };
  // Press on row 0 and move far enough down the list for the drag to start.
  const POINT start = screenPoint(form, 0);
  send(mouse(start, 0));
  // The press and the first move go together: the press waits in DragDetect for the move.
  INPUT press[] = {mouse(start, MOUSEEVENTF_LEFTDOWN), mouse(screenPoint(form, 2), 0)};
  SendInput(2, press, sizeof(INPUT));
  pump();
  ASSERT_TRUE(form.designDrag().dragging());
  EXPECT_EQ(designListOf(form).topIndex(), 0);
  // Each movement over the status bar scrolls one row down, each one over the label one row up.
  for (int i = 0; i < 6; ++i) send(mouse(formPoint(layoutOf(form).statusBand, i * 7), 0));
  EXPECT_EQ(designListOf(form).topIndex(), 6);
  for (int i = 0; i < 4; ++i) send(mouse(formPoint(layoutOf(form).lbDesign, i * 5), 0));
  EXPECT_EQ(designListOf(form).topIndex(), 2);
  // Released over the label, the drop is refused.
  send(mouse(formPoint(layoutOf(form).lbDesign, 0), MOUSEEVENTF_LEFTUP));
  EXPECT_FALSE(form.designDrag().dragging());
  EXPECT_FALSE(GetCapture());
  EXPECT_EQ(rowNames(form), names);
  EXPECT_FALSE(form.workingCopy().modified());
}

// ---- Delete -------------------------------------------------------------------------------------

TEST_F(EditorTest, DeleteAsksWithTheNamesInRowOrderAndSelectsTheFirstRowAfterwards) {
  begin({"A", "B", "C", "D", "E"});
  TEditForm& form = open();
  selectDesigns(form, {3, 1});
  prompts.confirms = {false, true};
  command(form, kCmdDelete);
  EXPECT_EQ(prompts.confirmed.at(0), "\"B\"\r\n\"D\"\r\nを削除してもよろしいですか？");
  expectRows(form, {"A", "B", "C", "D", "E"});
  EXPECT_FALSE(form.workingCopy().modified());
  command(form, kCmdDelete);
  expectRows(form, {"A", "C", "E"});
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{0});
  EXPECT_EQ(form.workingCopy().rows().design(2), sampleDesign(4));
  EXPECT_TRUE(form.workingCopy().modified());

  selectDesigns(form, {0, 1, 2});
  prompts.confirms = {true};
  command(form, kCmdDelete);
  expectRows(form, {});
  EXPECT_EQ(designListOf(form).selCount(), 0);
  for (EditCommand id : {kCmdExport, kCmdRename, kCmdUpper, kCmdLower, kCmdDelete, kCmdPad})
    EXPECT_FALSE(menuOf(form).enabled(id)) << id;
}

// ---- Register and apply -------------------------------------------------------------------------

TEST_F(EditorTest, RegisterAppendsThePadsDesignSelectedAloneAndOnlyOkCommitsIt) {
  begin({"A", "B"});
  host.padValues = {{"Cols", "7"}, {"BtnColor", "255"}, {"WallPaper", "C:\\x.bmp"}};
  TEditForm& form = open();
  selectDesigns(form, {0, 1});
  prompts.names = {std::nullopt, std::string("新規")};
  command(form, kCmdAdd);
  expectRows(form, {"A", "B"});
  EXPECT_FALSE(form.workingCopy().modified());
  command(form, kCmdAdd);
  expectRows(form, {"A", "B", "新規"});
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{2});
  EXPECT_EQ(form.workingCopy().rows().design(2).intValues[21], 7);
  EXPECT_EQ(form.workingCopy().rows().design(2).wallPaper(), "C:\\x.bmp");
  EXPECT_TRUE(form.workingCopy().modified());
  EXPECT_EQ(designNames(plug), (Names{"A", "B"}));
  command(form, kCmdExit);
  EXPECT_EQ(designNames(plug), (Names{"A", "B", "新規"}));
}

TEST_F(EditorTest, ApplySendsTheWorkingCopyToTheCurrentPadAndIsNoChange) {
  begin({"A", "B"});
  host.padForValue = 100;
  TEditForm& form = open();  // the editor command's click names pad 100 the current pad
  selectDesigns(form, {1});
  command(form, kCmdPad);
  const auto sent = host.callsOf("OQASetPadInit");
  ASSERT_EQ(sent.size(), 24u);
  EXPECT_EQ(sent[0].pad, 100);
  EXPECT_EQ(sent[21].key, "Cols");
  EXPECT_EQ(sent[21].value, "5");
  EXPECT_FALSE(form.workingCopy().modified());
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{1});
  command(form, kCmdCancel);
  pump();
  EXPECT_FALSE(isOpen());
  EXPECT_TRUE(prompts.confirmed.empty());
}

// ---- Import -------------------------------------------------------------------------------------

TEST_F(EditorTest, ImportAppendsUnselectedRowsAndSetsTheModifiedFlagEvenForAnEmptyFile) {
  begin({"A", "B"});
  files.files["C:\\in\\empty.dsg"] = "[Other]\r\nx=1\r\n";
  files.files["C:\\in\\two.dsg"] = "[1]\r\nName=A\r\nCols=9\r\n[2]\r\nName=N\r\n";
  TEditForm& form = open();
  prompts.files = {std::string("C:\\in\\empty.dsg")};
  command(form, kCmdImport);
  expectRows(form, {"A", "B"});
  EXPECT_TRUE(form.workingCopy().modified());
  EXPECT_EQ(plug.settings().ImportDir, "C:\\in\\");

  prompts.files = {std::string("C:\\in\\two.dsg")};
  command(form, kCmdImport);
  expectRows(form, {"A", "B", "A2", "N"});
  EXPECT_EQ(selectedDesigns(form), std::vector<int>{0});
  EXPECT_EQ(form.workingCopy().rows().design(2).intValues[21], 9);

  prompts.confirms = {true};
  command(form, kCmdCancel);
  EXPECT_EQ(prompts.confirmed.size(), 1u);
}

TEST_F(EditorTest, ImportOfAFileThatCannotBeReadShowsTheErrorAndChangesNothing) {
  begin({"A"});
  files.unreadable.insert("C:\\in\\locked.dsg");
  TEditForm& form = open();
  prompts.files = {std::string("C:\\in\\locked.dsg")};
  command(form, kCmdImport);
  ASSERT_EQ(prompts.errors.size(), 1u);
  EXPECT_EQ(prompts.errors[0], cannotOpenError("C:\\in\\locked.dsg").what());
  expectRows(form, {"A"});
  EXPECT_FALSE(form.workingCopy().modified());
  prompts.files = {};
  command(form, kCmdImport);  // cancelled
  EXPECT_FALSE(form.workingCopy().modified());
}

// ---- Export -------------------------------------------------------------------------------------

class ExportTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    begin({"x1", "デザイン1", "x3", "x4", "デザイン2"}, {"ExportDir=C:\\out\\"});
    TDesign first = TDesign::unset();
    first.intValues[1] = 2;          // DragBar
    first.intValues[13] = 16777215;  // BackColor
    first.wallPaper() = "C:\\pics\\bg.bmp";
    TDesign second = TDesign::unset();
    second.intValues[21] = 4;  // Cols
    second.intValues[22] = 3;  // Rows
    plug.designs().design(1) = first;
    plug.designs().design(4) = second;
    std::string ten;
    for (int i = 1; i <= 10; ++i) {
      const std::string n = std::to_string(i);
      ten.append("[").append(n).append("]\r\nName=old").append(n).append("\r\n\r\n");
    }
    files.files[kTarget] = ten;
  }
  const std::string kTarget = "C:\\表\\out.dsg";
};

TEST_F(ExportTest, WritesTheSelectedDesignsAsSectionsNumberedFromOne) {
  TEditForm& form = open();
  selectDesigns(form, {4, 1});
  saveScript.answers = {kTarget};
  command(form, kCmdExport);
  ASSERT_EQ(saveScript.requests.size(), 1u);
  const FileDialogRequest& request = saveScript.requests[0];
  EXPECT_EQ(request.title, "デザイン出力先のファイル指定");
  EXPECT_EQ(request.filter, "デザインファイル(*.dsg)|*.dsg");
  EXPECT_EQ(request.defaultExtension, "dsg");
  EXPECT_EQ(request.initialFolder, "C:\\out\\");
  EXPECT_EQ(request.fileName, "");
  const DWORD required = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  EXPECT_EQ(request.flags & required, required);
  EXPECT_EQ(files.files[kTarget], goldenFile("export-two.dsg"));
  EXPECT_EQ(plug.settings().ExportDir, "C:\\表\\");
  EXPECT_FALSE(form.workingCopy().modified());
  EXPECT_TRUE(prompts.errors.empty());

  // The dialog proposes the last file again while the window lives; cancelling writes nothing.
  const int writes = files.writes;
  command(form, kCmdExport);
  ASSERT_EQ(saveScript.requests.size(), 2u);
  EXPECT_EQ(saveScript.requests[1].fileName, kTarget);
  EXPECT_EQ(saveScript.requests[1].initialFolder, "C:\\表\\");
  EXPECT_EQ(files.writes, writes);
}

TEST_F(ExportTest, AnExportThatCannotBeWrittenShowsTheErrorAndKeepsEverything) {
  TEditForm& form = open();
  const std::string before = files.files[kTarget];
  selectDesigns(form, {1});
  files.failWrites = true;
  saveScript.answers = {kTarget};
  command(form, kCmdExport);
  EXPECT_EQ(prompts.errors, std::vector<std::string>{writeError().what()});
  EXPECT_EQ(files.files[kTarget], before);
  EXPECT_EQ(plug.settings().ExportDir, "C:\\out\\");
  expectRows(form, {"x1", "デザイン1", "x3", "x4", "デザイン2"});
  EXPECT_FALSE(form.workingCopy().modified());
  EXPECT_TRUE(isOpen());
}

TEST_F(ExportTest, ADialogThatFailsIsToldAndTheWindowGoesOn) {
  TEditForm& form = open();
  saveScript.failure = "ファイルダイアログを表示できません。";
  command(form, kCmdExport);
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"ファイルダイアログを表示できません。"});
  ASSERT_TRUE(isOpen());
  saveScript.failure = nullptr;
  saveScript.answers = {kTarget};
  command(form, kCmdExport);
  EXPECT_EQ(files.files[kTarget].substr(0, 3), "[1]");
}

}  // namespace
}  // namespace lumisk::testing
