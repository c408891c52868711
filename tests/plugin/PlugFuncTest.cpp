#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "plugin/PlugFunc.h"
#include "store/DesignOps.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Fakes.h"
#include "tests/support/Golden.h"

namespace lumisk {
namespace {

using testing::FakeHost;
using testing::MemoryFiles;
using testing::ScriptedPrompts;

int dummy;
const AsciiCollation kCollation;
const std::string kIni = "C:\\表\\lumisk.ini";

void bindHost(PlugFunc& plug) {
  FakeHost::bindTo(plug.binding());
}

std::string designsIni(int count) {
  std::string ini = "[Main]\r\nLeft=1\r\n";
  for (int i = 0; i < count; ++i) ini += "[" + std::to_string(i) + "]\r\nName=D" + std::to_string(i + 1) + "\r\n";
  return ini;
}

class RecordingLauncher final : public EditorLauncher {
 public:
  int opened = 0, closed = 0;
  void open(const EditorContext&) override { ++opened; }
  void close() override { ++closed; }
};

class PlugFuncTest : public ::testing::Test {
 protected:
  FakeHost host;
  MemoryFiles files;
  ScriptedPrompts prompts;
  PlugFunc plug{files, kCollation, prompts};

  void begin(const std::string& ini) {
    files.files[kIni] = ini;
    bindHost(plug);
    plug.setInitFile(kIni.c_str());
    ASSERT_EQ(plug.beginPlugin(), host.menusResult);
  }
  std::vector<std::string> menu() const {
    std::vector<std::string> captions;
    TPluginMenuItem record;
    for (int32_t n = 0; plug.getMenu(n, &record) == -1; ++n) captions.emplace_back(record.Caption);
    return captions;
  }
};

struct NameCase {
  int32_t size;
  std::string written;  // bytes from the start of the buffer up to and including the NUL, or "" for none
};

class GetNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(GetNameTest, WritesAtMostSizeBytes) {
  MemoryFiles files;
  ScriptedPrompts prompts;
  const PlugFunc plug(files, kCollation, prompts);
  std::array<char, 32> buffer;
  buffer.fill('#');
  EXPECT_EQ(plug.getName(buffer.data(), GetParam().size), -1);
  const std::string& expected = GetParam().written;
  EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
  EXPECT_EQ(buffer[expected.size()], '#') << "nothing written beyond";
}

INSTANTIATE_TEST_SUITE_P(Sizes, GetNameTest,
                         ::testing::Values(NameCase{0, ""}, NameCase{1, std::string(1, '\0')},
                                           NameCase{4, std::string("Lum\0", 4)},
                                           NameCase{7, std::string("Lumisk\0", 7)},
                                           NameCase{20, std::string("Lumisk\0", 7)},
                                           NameCase{0x10000, ""}, NameCase{0x10003, std::string("Lu\0", 3)}));

TEST(ExplanationTest, SevenLinesJoinedByCrLf) {
  const std::string text = PlugFunc::explanation();
  std::vector<std::string> lines;
  for (std::size_t pos = 0;;) {
    const auto end = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    if (end == std::string::npos) break;
    pos = end + 2;
  }
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Lumisk");
  EXPECT_EQ(lines[2].size(), 48u);
  EXPECT_EQ(lines[3], std::string(48, '_'));
  EXPECT_EQ(lines[4], std::string(48, ' '));
  EXPECT_EQ(lines[5], "  パッドのデザイン設定をメニューに登録し、自由に");
  EXPECT_EQ(lines[6], "  切り替えられるようにします。");
}

TEST(ExplanationTest, ACutNeverLeavesHalfACharacter) {
  MemoryFiles files;
  ScriptedPrompts prompts;
  const PlugFunc plug(files, kCollation, prompts);
  const std::string text = PlugFunc::explanation();
  const std::size_t kanjiAt = text.find("パッド");
  std::vector<char> buffer(kanjiAt + 8, '#');
  // Room for the text up to one byte into "パ": the cut falls before it.
  plug.getExplanation(buffer.data(), int32_t(kanjiAt + 2));
  EXPECT_EQ(std::string(buffer.data()), text.substr(0, kanjiAt));
}

TEST_F(PlugFuncTest, AnUnsupportedHostIsRefused) {
  plug.binding().bind(true, [](const char* name) -> void* {
    return std::string(name) == "OQARunButton" ? nullptr : &dummy;
  });
  files.files[kIni] = designsIni(2);
  plug.setInitFile(kIni.c_str());
  EXPECT_EQ(plug.beginPlugin(), 0);
  EXPECT_EQ(prompts.informed, std::vector<std::string>{"Orbiqa がLumiskに対応していません。"});
  EXPECT_FALSE(plug.active());
  EXPECT_TRUE(menu().empty());
  EXPECT_EQ(plug.menuClick(1, 5), 0);
  EXPECT_EQ(plug.endPlugin(), -1);
  EXPECT_EQ(files.writes, 0);
}

struct SettingsCase {
  const char* what;
  std::string main;
  TInitData expected;
};

class SettingsTest : public PlugFuncTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsTest, ReadsMainWithDefaults) {
  const auto& c = GetParam();
  begin("[main]\r\n" + c.main);
  const TInitData& s = plug.settings();
  const TInitData& e = c.expected;
  EXPECT_EQ(std::tie(s.Left, s.Top, s.Width, s.Height, s.Col0Width, s.Col1Width, s.HintHelp),
            std::tie(e.Left, e.Top, e.Width, e.Height, e.Col0Width, e.Col1Width, e.HintHelp))
      << c.what;
  EXPECT_EQ(s.ImportDir, e.ImportDir) << c.what;
  EXPECT_EQ(s.ExportDir, e.ExportDir) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Main, SettingsTest,
    ::testing::Values(
        SettingsCase{"all missing", "", {0, 0, 400, 350, "C:\\表\\", "C:\\表\\", 130, 70, true}},
        SettingsCase{"all given",
                     "Left=-5\r\nTop=7\r\nWidth=100\r\nHeight=$20\r\nImportDir=D:\\i\\\r\nExportDir=\r\n"
                     "Col0Width=50\r\nCol1Width=10\r\nHintHelp=0\r\n",
                     {-5, 7, 100, 32, "D:\\i\\", "", 50, 10, false}},
        SettingsCase{"no integers", "Left=a\r\nWidth=1 \r\nHintHelp=yes\r\n",
                     {0, 0, 400, 350, "C:\\表\\", "C:\\表\\", 130, 70, true}},
        SettingsCase{"any other integer is true", "HintHelp=-2\r\n",
                     {0, 0, 400, 350, "C:\\表\\", "C:\\表\\", 130, 70, true}}));

TEST_F(PlugFuncTest, BeginAsksForTheMenuAndLoadsEveryDesign) {
  host.menusResult = 77;
  begin(designsIni(3));
  EXPECT_EQ(host.callsOf("OQAChangePluginMenus").at(0).key, "Lumisk");
  EXPECT_EQ(plug.designs().count(), 3u);
}

TEST_F(PlugFuncTest, AnUnreadableIniIsReportedAndNeverOverwritten) {
  files.files[kIni] = designsIni(3);
  files.unreadable.insert(kIni);
  bindHost(plug);
  plug.setInitFile(kIni.c_str());
  EXPECT_EQ(plug.beginPlugin(), 0);
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"ファイル " + kIni + " は開けません"});
  EXPECT_FALSE(plug.active());
  EXPECT_EQ(plug.endPlugin(), -1);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(files.files[kIni], designsIni(3));
}

TEST_F(PlugFuncTest, EndWritesMainAndTheDesignsAndNothingElse) {
  const std::string golden = testing::goldenFile("plugin-end.ini");
  // What End must drop: comments, foreign sections and keys, stray lines, old numbering.
  begin("; comment\r\nstray\r\n[Other]\r\nKey=1\r\n" + golden + "[Main]\r\nLeft=999\r\n[9]\r\nCols=1\r\n");
  const std::string before = files.files[kIni];
  EXPECT_EQ(plug.endPlugin(), -1);
  EXPECT_EQ(files.files[kIni], golden);
  EXPECT_FALSE(plug.active());
  EXPECT_NE(before, golden);
}

TEST_F(PlugFuncTest, EndWithoutDesignsWritesMainAlone) {
  begin("");
  plug.endPlugin();
  EXPECT_EQ(files.files[kIni],
            "[Main]\r\nLeft=0\r\nTop=0\r\nWidth=400\r\nHeight=350\r\nCol0Width=130\r\nCol1Width=70\r\nHintHelp=1\r\n"
            "ImportDir=C:\\表\\\r\nExportDir=C:\\表\\\r\n\r\n");
}

// A save at the end that fails loses nothing: the error is shown as before, the old file stays, and the
// session's designs go to a design file that the import reads back, beside the INI file or else in the
// temporary folder, never over an earlier one; where no folder takes it, the person is told so.
struct RescueCase {
  const char* what;
  std::string ini;
  std::vector<std::string> unwritable;  // path prefixes that take no file
  std::optional<std::string> temp;
  std::map<std::string, std::string> present;  // files there before; "" for one that cannot be read
  int designs;
  std::optional<std::string> rescue;  // where the designs go; nullopt for nowhere
  friend void PrintTo(const RescueCase& c, std::ostream* os) { *os << c.what; }
};

class RescueTest : public PlugFuncTest, public ::testing::WithParamInterface<RescueCase> {};

TEST_P(RescueTest, AFailedEndWritesTheDesignsWhereTheImportFindsThem) {
  const RescueCase& c = GetParam();
  SCOPED_TRACE(c.what);
  const std::string oldIni = "[0]\r\nName=D1\r\nCols=4\r\nWallPaper=C:\\w\\a.bmp\r\n";
  if (!c.ini.empty()) files.files[c.ini] = oldIni;
  bindHost(plug);
  plug.setInitFile(c.ini.c_str());
  ASSERT_EQ(plug.beginPlugin(), host.menusResult);
  plug.designs().clear();
  for (int i = 0; i < c.designs; ++i) {
    TDesign d = TDesign::unset();
    d.intValues[static_cast<std::size_t>(i % kIntKeyCount)] = i - 5;
    d.wallPaper() = i % 2 ? "" : "C:\\壁紙\\表" + std::to_string(i) + ".bmp";
    plug.designs().append("新" + std::to_string(i), d);
  }
  const DesignList designs = plug.designs();
  for (const auto& [path, bytes] : c.present) {
    files.files[path] = bytes;
    if (bytes.empty()) files.unreadable.insert(path);
  }
  files.unwritable = c.unwritable;
  files.temp = c.temp;

  EXPECT_EQ(plug.endPlugin(), -1);
  const std::string iniError = "ファイル " + c.ini + " を作成できません";
  if (!c.ini.empty()) {
    EXPECT_EQ(files.files[c.ini], oldIni) << "the old file stays";
  }
  EXPECT_FALSE(plug.active());
  for (const auto& [path, bytes] : c.present) EXPECT_EQ(files.files[path], bytes) << "an earlier file stays";
  if (c.designs == 0) {
    EXPECT_EQ(prompts.errors, std::vector<std::string>{iniError});
    EXPECT_TRUE(prompts.informed.empty());
  } else if (!c.rescue) {
    EXPECT_EQ(prompts.errors,
              (std::vector<std::string>{
                  iniError, "保存できなかったデザインを書き出すファイルも作成できません。今回の変更は失われました。"}));
    EXPECT_TRUE(prompts.informed.empty());
  } else {
    EXPECT_EQ(prompts.errors, std::vector<std::string>{iniError}) << "the error first, unchanged";
    EXPECT_EQ(prompts.informed, std::vector<std::string>{"保存できなかったデザインをファイル " + *c.rescue +
                                                         " に書き出しました。\r\nデザインのインポートでこのファイ"
                                                         "ルを読み込むと、デザインが元に戻ります。"});
    DesignList imported;
    std::string importDir;
    prompts.files.push_back(*c.rescue);
    ASSERT_TRUE(importDesigns(imported, importDir, prompts, files, kCollation));
    EXPECT_EQ(imported, designs);
  }
}

const std::string kRescueHere = "C:\\表\\Lumisk未保存デザイン";
const std::string kRescueTemp = "C:\\Temp\\Lumisk未保存デザイン";

INSTANTIATE_TEST_SUITE_P(
    Ends, RescueTest,
    ::testing::Values(
        RescueCase{"beside the INI file", kIni, {kIni}, "C:\\Temp\\", {}, 3, kRescueHere + ".dsg"},
        RescueCase{"never over an earlier file", kIni, {kIni}, "C:\\Temp\\",
                   {{kRescueHere + ".dsg", "[1]\r\nName=old\r\n"}, {kRescueHere + "2.dsg", ""}}, 2,
                   kRescueHere + "3.dsg"},
        RescueCase{"the INI folder takes no file", kIni, {"C:\\表\\"}, "C:\\Temp\\", {}, 1, kRescueTemp + ".dsg"},
        RescueCase{"no INI path", "", {}, "C:\\Temp\\", {}, 2, kRescueTemp + ".dsg"},
        RescueCase{"no folder takes it", kIni, {"C:\\表\\", "C:\\Temp\\"}, "C:\\Temp\\", {}, 2, std::nullopt},
        RescueCase{"no temporary folder", kIni, {"C:\\表\\"}, std::nullopt, {}, 2, std::nullopt},
        RescueCase{"no design to lose", kIni, {kIni}, "C:\\Temp\\", {}, 0, std::nullopt}));

TEST_F(PlugFuncTest, EndClosesAnOpenEditorFirst) {
  RecordingLauncher launcher;
  plug.setEditorLauncher(&launcher);
  begin(designsIni(1));
  plug.menuClick(5, 0);
  ASSERT_TRUE(plug.editorOpen());
  plug.endPlugin();
  EXPECT_EQ(launcher.closed, 1);
}

struct MenuCase {
  int designs;
  std::vector<std::pair<int, std::string>> items;  // item number -> caption
  int count;                                       // items that answer -1
};

class MenuTest : public PlugFuncTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuTest, ListsUpToThirtyDesignsThenTheCommands) {
  begin(designsIni(GetParam().designs));
  const auto captions = menu();
  ASSERT_EQ(int(captions.size()), GetParam().count);
  for (const auto& [n, caption] : GetParam().items) EXPECT_EQ(captions.at(n), caption) << "item " << n;
}

INSTANTIATE_TEST_SUITE_P(
    Designs, MenuTest,
    ::testing::Values(
        MenuCase{0,
                 {{0, "Lumisk(&D)"}, {1, "-"}, {2, "現デザインの登録(&R)"}, {3, "デザインのインポート(&I)"},
                  {4, "デザインの詳細編集(&E)..."}},
                 5},
        MenuCase{9, {{1, "&1. D1"}, {9, "&9. D9"}, {10, "-"}, {13, "デザインの詳細編集(&E)..."}}, 14},
        MenuCase{10, {{9, "&9. D9"}, {10, "10. D10"}, {11, "-"}}, 15},
        MenuCase{31, {{30, "30. D30"}, {31, "-"}, {34, "デザインの詳細編集(&E)..."}}, 35}));

TEST_F(PlugFuncTest, RecordsAreZeroFilledAndLongCaptionsCutBetweenCharacters) {
  std::string name;
  for (int i = 0; i < 40; ++i) name += "表";
  begin("[0]\r\nName=" + name + "\r\n");
  std::array<unsigned char, 128 + 16> guarded;
  guarded.fill(0xCD);
  auto* record = reinterpret_cast<TPluginMenuItem*>(guarded.data());
  ASSERT_EQ(plug.getMenu(1, record), -1);
  const std::string caption = record->Caption;
  EXPECT_EQ(caption.size(), 62u) << "\"&1. \" and 29 whole characters";
  EXPECT_EQ(caption, "&1. " + name.substr(0, 58));
  for (std::size_t i = caption.size(); i < 128; ++i) ASSERT_EQ(guarded[i], 0) << "byte " << i;
  for (std::size_t i = 128; i < guarded.size(); ++i) ASSERT_EQ(guarded[i], 0xCD) << "written past the record";
  EXPECT_EQ(plug.getMenu(-1, record), 0);
}

TEST_F(PlugFuncTest, WhileTheEditorIsOpenTheMenuIsItsTitleAlone) {
  RecordingLauncher launcher;
  plug.setEditorLauncher(&launcher);
  host.menusResult = 5;
  begin(designsIni(2));
  EXPECT_EQ(plug.menuClick(6, 0), 5);
  EXPECT_EQ(launcher.opened, 1);
  EXPECT_EQ(menu(), std::vector<std::string>{"Lumisk[詳細編集中]"});
  EXPECT_EQ(plug.menuClick(1, 0), 0) << "no design can be applied from a menu that does not show it";
  plug.setEditorOpen(false);
  EXPECT_EQ(menu().size(), 7u);
}

TEST_F(PlugFuncTest, EveryClickUpdatesTheCurrentPad) {
  host.padForValue = 1000;
  begin(designsIni(1));
  for (int32_t item : {0, -3}) {
    EXPECT_EQ(plug.menuClick(item, item + 50), 0);
    EXPECT_EQ(plug.currentPad(), item + 1050);
  }
}

TEST_F(PlugFuncTest, ADesignItemAppliesToTheCurrentPad) {
  begin("[0]\r\nName=A\r\nCols=4\r\nRows=2\r\n[1]\r\nName=B\r\n");
  host.calls.clear();
  EXPECT_EQ(plug.menuClick(1, 3), -1);
  const auto sets = host.callsOf("OQASetPadInit");
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0].pad, 3);
  EXPECT_EQ(plug.menuClick(2, 3), -1) << "the last design of the menu applies too";
  host.refuse = {"Rows"};
  EXPECT_EQ(plug.menuClick(1, 3), 0);
  EXPECT_TRUE(host.callsOf("OQAChangePluginMenus").empty()) << "applying changes no menu";
}

TEST_F(PlugFuncTest, CaptureAsksForTheMenuWhateverItGives) {
  host.menusResult = 9;
  begin(designsIni(1));
  host.calls.clear();
  prompts.names.push_back(std::nullopt);
  EXPECT_EQ(plug.menuClick(3, 0), 9);
  prompts.names.push_back("new");
  EXPECT_EQ(plug.menuClick(3, 0), 9);
  EXPECT_EQ(plug.designs().name(1), "new");
  EXPECT_EQ(host.callsOf("OQAChangePluginMenus").size(), 2u);
}

TEST_F(PlugFuncTest, ImportAsksForTheMenuOnlyWhenAFileWasChosen) {
  host.menusResult = 9;
  begin(designsIni(0));
  EXPECT_EQ(plug.menuClick(3, 0), 0) << "cancelled";
  files.files["D:\\d\\a.dsg"] = "[1]\r\nName=A\r\n";
  prompts.files.push_back("D:\\d\\a.dsg");
  EXPECT_EQ(plug.menuClick(3, 0), 9);
  EXPECT_EQ(plug.settings().ImportDir, "D:\\d\\");
  files.unreadable.insert("D:\\d\\b.dsg");
  prompts.files.push_back("D:\\d\\b.dsg");
  EXPECT_EQ(plug.menuClick(4, 0), 0);
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"ファイル D:\\d\\b.dsg は開けません"});
  EXPECT_EQ(plug.designs().count(), 1u);
  EXPECT_EQ(plug.settings().ImportDir, "D:\\d\\");
}

TEST_F(PlugFuncTest, TheSeparatorAndItemsBeyondDoNothing) {
  RecordingLauncher launcher;
  plug.setEditorLauncher(&launcher);
  begin(designsIni(2));
  host.calls.clear();
  EXPECT_EQ(plug.menuClick(3, 0), 0);
  EXPECT_EQ(plug.menuClick(7, 0), 0);
  EXPECT_EQ(host.calls.size(), 2u) << "only the pad lookups";
  EXPECT_EQ(launcher.opened, 0);
}

// The launcher can call while a prompt is open: a pad the prompt did not hold, a timer.
class WhileAPromptTest : public PlugFuncTest {
 protected:
  static constexpr const char* kDesignFile = "D:\\d\\a.dsg";

  void SetUp() override {
    plug.setEditorLauncher(&launcher);
    files.files[kDesignFile] = "[1]\r\nName=A\r\n";
  }
  // Clicks the capture or the import command of the menu as it is, with its answer queued.
  int32_t runCommand(bool import, int32_t value) {
    const auto m = static_cast<int32_t>(plug.designs().count());
    if (import) prompts.files.push_back(kDesignFile);
    else prompts.names.push_back("new" + std::to_string(m));
    return plug.menuClick(import ? m + 3 : m + 2, value);
  }

  RecordingLauncher launcher;
};

TEST_F(WhileAPromptTest, AMenuClickDoesNothing) {
  host.padForValue = 100;
  begin(designsIni(2));
  for (bool import : {false, true}) {
    // Offsets from the first command: a design, the separator, capture, import, the editor.
    for (int32_t clicked : {-1, 0, 1, 2, 3}) {
      SCOPED_TRACE(std::string(import ? "import" : "capture") + ", click " + std::to_string(clicked));
      const std::size_t before = plug.designs().count();
      const std::size_t asked = prompts.namePrompts.size() + prompts.fileFolders.size();
      host.calls.clear();
      int32_t answered = 1;
      std::size_t hostCalls = 0;
      prompts.whileOpen = [&] {
        answered = plug.menuClick(static_cast<int32_t>(before) + 2 + clicked, 7);
        hostCalls = host.calls.size();
      };
      EXPECT_EQ(runCommand(import, 2), host.menusResult);
      EXPECT_EQ(answered, 0);
      EXPECT_EQ(hostCalls, 1u) << "the command's own pad lookup, nothing of the click";
      EXPECT_EQ(plug.currentPad(), 102);
      EXPECT_EQ(prompts.namePrompts.size() + prompts.fileFolders.size(), asked + 1) << "the click asked nothing";
      EXPECT_EQ(plug.designs().count(), before + 1);
      EXPECT_EQ(launcher.opened, 0);
    }
  }
}

TEST_F(WhileAPromptTest, AnEndSavesAndFreesNothingTheCommandHolds) {
  begin(designsIni(2));
  plug.endPlugin();
  const std::string saved = files.files[kIni];
  for (bool import : {false, true}) {
    SCOPED_TRACE(import ? "import" : "capture");
    begin(designsIni(2));
    host.calls.clear();
    prompts.informed.clear();
    std::weak_ptr<DesignList> held;
    prompts.whileOpen = [&] {
      held = plug.editorContext().designs;
      EXPECT_EQ(plug.endPlugin(), -1);
      EXPECT_EQ(files.files[kIni], saved) << "what there was when End came";
      EXPECT_FALSE(plug.active());
      EXPECT_FALSE(held.expired()) << "the command still works on it";
    };
    EXPECT_EQ(runCommand(import, 0), 0);
    EXPECT_TRUE(held.expired()) << "and lets go of it when it returns";
    if (import) {
      EXPECT_EQ(prompts.informed, std::vector<std::string>{"\"A\"\r\nをインポートしました。"});
    }
    EXPECT_TRUE(host.callsOf("OQAChangePluginMenus").empty()) << "an ended plug-in has no menu to rebuild";
    EXPECT_TRUE(menu().empty());
    EXPECT_EQ(files.files[kIni], saved);
    EXPECT_EQ(launcher.closed, 0);
  }
}

TEST_F(PlugFuncTest, AClickBeforeBeginCallsNothingUnbound) {
  EXPECT_EQ(plug.menuClick(1, 0), 0);
  EXPECT_TRUE(host.calls.empty());
  bindHost(plug);
  EXPECT_EQ(plug.menuClick(2, 0), 0);
  EXPECT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].function, "OQAGetPadID");
}

}  // namespace
}  // namespace lumisk
