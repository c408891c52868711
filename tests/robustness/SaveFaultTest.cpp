// No design is lost to a failing disk: every Win32 file call of the two saves a person meets, the end of
// the plug-in (the INI file) and the editor's export (a design file), is made to fail in turn in the three
// ways a full disk, a virus scanner and the system's permissions fail it; so is the delete of the new file
// that such a failure leaves, and a failure that a save waits out is made to last past the wait. Each
// time the save succeeds, or the old file stays byte for byte, nothing but a rescue file is left beside
// it, the person is told the plug-in's message for that failure, and the next save succeeds. At the end,
// the rescue file holds every design of the session, as the import reads it back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "store/DesignOps.h"
#include "tests/robustness/RealFilesFixture.h"

namespace lumisk::testing {
namespace {

constexpr DWORD kErrors[] = {ERROR_DISK_FULL, ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED};
// Big enough that the file is written in several calls.
constexpr int kDesignCount = 500;

// The rename of the new file over the old one, numbered from 1: after it the new bytes are in place.
std::size_t renameCall(const std::vector<FileFaults::Call>& calls) {
  const auto found = std::find_if(calls.begin(), calls.end(), [](const auto& c) { return c.name == "MoveFileExW"; });
  return static_cast<std::size_t>(found - calls.begin()) + 1;
}

// A failure of `call` that the save waits out when it passes: another program holding the file.
bool waitedOut(const FileFaults::Call& call, DWORD error) {
  return call.writing && (call.name == "CreateFileW" || call.name == "MoveFileExW") &&
         (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED);
}

// One fault: call `call` fails with `error`; with `deleteFails` the delete of the new file fails once
// too; with `held` the failure lasts (FileFaults::failAt).
struct Fault {
  std::size_t call;
  DWORD error;
  bool deleteFails;
  bool held;
};

// What the person is told when `fault` hits a save that makes `calls`: nothing when the save still
// succeeds (a read whose handle will not close has all its bytes already; a hold that passes is waited
// out; after the rename the new file is in place).
std::optional<std::string> expectedMessage(const std::vector<FileFaults::Call>& calls, const Fault& fault,
                                           const std::string& path) {
  const std::size_t k = fault.call;
  if (k > renameCall(calls)) return std::nullopt;
  const FileFaults::Call& call = calls[k - 1];
  if (waitedOut(call, fault.error) && !fault.held) return std::nullopt;
  if (!call.writing) {
    if (call.name == "CloseHandle") return std::nullopt;
    return cannotOpenError(path).what();
  }
  if (call.name == "GetFileAttributesW" || call.name == "CreateFileW") return cannotCreateError(path).what();
  return writeError().what();
}

// The calls after which the new file of the save exists, so that their failure makes the save delete it.
std::size_t firstCallWithNewFile(const std::vector<FileFaults::Call>& calls) {
  for (std::size_t i = 0; i < calls.size(); ++i)
    if (calls[i].name == "CreateFileW" && calls[i].writing) return i + 2;  // numbered from 1, the one after
  return calls.size() + 1;
}

void removeAllBut(const std::wstring& folder, const std::vector<std::wstring>& keep) {
  for (const std::wstring& name : namesIn(folder))
    if (std::find(keep.begin(), keep.end(), name) == keep.end()) removeTree(folder + name);
}

struct Tally {
  int points = 0;  // calls of a clean save plus deletes after a failure
  int cases = 0;
  int held = 0;    // of the cases, those whose failure lasted past the wait
  int passed = 0;
};

// Runs `attempt` for every call of `clean` failing with each error, once more with the delete of the
// new file failing too wherever there is one, and for a failure that the save waits out, once more with
// it lasting; `attempt` returns whether every check held.
Tally everyFault(const std::vector<FileFaults::Call>& clean, const std::function<bool(const Fault&)>& attempt) {
  Tally tally;
  const std::size_t withNewFile = firstCallWithNewFile(clean);
  const std::size_t renamed = renameCall(clean);
  for (std::size_t k = 1; k <= clean.size(); ++k) {
    for (bool deleteFails : {false, true}) {
      if (deleteFails && (k < withNewFile || k > renamed)) continue;
      ++tally.points;
      for (DWORD error : kErrors) {
        for (bool held : {false, true}) {
          if (held && !waitedOut(clean[k - 1], error)) continue;
          SCOPED_TRACE(::testing::Message()
                       << "call " << k << " " << clean[k - 1].name << (clean[k - 1].writing ? " (writing)" : " (reading)")
                       << " fails with " << error << (held ? " for good" : "")
                       << (deleteFails ? ", and so does the delete of the new file" : ""));
          ++tally.cases;
          tally.held += held;
          tally.passed += attempt(Fault{k, error, deleteFails, held});
        }
      }
    }
  }
  return tally;
}

void printTally(const char* save, const Tally& t, std::size_t calls) {
  std::printf("[ figures  ] fault points (%s): %d x 3 + %d held = %d of %d passed (%zu calls of a clean save, %d "
              "deletes after a failure)\n",
              save, t.points, t.held, t.passed, t.cases, calls, t.points - static_cast<int>(calls));
}

class SaveFaultTest : public RealFilesTest {
 protected:
  void SetUp() override {
    RealFilesTest::SetUp();
    ASSERT_TRUE(CreateDirectoryW(tempFolder().c_str(), nullptr)) << kJapaneseNames;
    faults.setTempFolder(tempFolder());
  }
  // The temporary folder, where a rescue goes that the INI file's folder does not take.
  std::wstring tempFolder() const { return folder.path() + L"一時\\"; }
};

TEST_F(SaveFaultTest, EveryFailingCallOfTheEndKeepsTheOldIniFileOrTheDesignsInARescueFile) {
  const DesignList oldDesigns = manyDesigns(kDesignCount);
  DesignList newDesigns = oldDesigns;
  newDesigns.append("新しいデザイン", sampleDesign(99));
  const std::string oldBytes = writeIni(oldDesigns);
  const std::wstring rescueName = L"Lumisk未保存デザイン.dsg";

  // A clean end, counted.
  faults.reset();
  ASSERT_EQ(plug.beginPlugin(), host.menusResult);
  plug.designs() = newDesigns;
  faults.reset();
  ASSERT_EQ(plug.endPlugin(), -1);
  ASSERT_TRUE(prompts.errors.empty());
  const std::vector<FileFaults::Call> clean = faults.made();
  const std::string newBytes = readBytes(wideIni());
  ASSERT_NE(newBytes, oldBytes);
  ASSERT_GE(std::count_if(clean.begin(), clean.end(), [](const auto& c) { return c.name == "WriteFile"; }), 3);

  int rescuedBeside = 0, rescuedInTemp = 0;
  const Tally tally = everyFault(clean, [&](const Fault& fault) {
    writeBytes(wideIni(), oldBytes);
    prompts.errors.clear();
    prompts.informed.clear();
    faults.reset();
    if (plug.beginPlugin() != host.menusResult || !(plug.designs() == oldDesigns)) {
      ADD_FAILURE() << "the old file did not load";
      return false;
    }
    plug.designs() = newDesigns;
    faults.failAt(fault.call, fault.error, fault.deleteFails, fault.held);
    const int32_t result = plug.endPlugin();

    const auto message = expectedMessage(clean, fault, ini());
    const bool saved = !message;
    const auto deletes = std::count_if(faults.made().begin(), faults.made().end(),
                                       [](const auto& c) { return c.name == "DeleteFileW"; });
    bool ok = true;
    auto check = [&](bool held, const char* what) {
      EXPECT_TRUE(held) << what;
      ok = ok && held;
    };
    check(result == -1, "End answers true");
    check(faults.failed(), "the failing call was reached");
    check(saved || !fault.deleteFails || deletes >= 2, "the delete of the new file failed and was tried again");
    check(prompts.errors == (saved ? std::vector<std::string>{} : std::vector<std::string>{*message}),
          "told the plug-in's message for the failure, once");
    check(readBytes(wideIni()) == (saved ? newBytes : oldBytes), "the file holds the old bytes (or all new ones)");
    if (saved) {
      check(prompts.informed.empty(), "nothing more to tell");
      check(folder.names() == std::vector<std::wstring>{L"一時", L"設定表.ini"}, "nothing left beside the file");
    } else {
      // A folder that holds every new file for good takes no rescue file either: it goes to the
      // temporary folder.
      const bool folderHeld = fault.held && clean[fault.call - 1].name == "CreateFileW";
      const std::wstring rescueFolder = folderHeld ? tempFolder() : folder.path();
      (folderHeld ? rescuedInTemp : rescuedBeside) += 1;
      const std::string rescue = cp932(rescueFolder + rescueName);
      check(prompts.informed == std::vector<std::string>{"保存できなかったデザインをファイル " + rescue +
                                                         " に書き出しました。\r\nデザインのインポートでこのファイ"
                                                         "ルを読み込むと、デザインが元に戻ります。"},
            "told where the rescue file is, after the failure");
      check(namesIn(folder.path()) == (folderHeld ? std::vector<std::wstring>{L"一時", L"設定表.ini"}
                                                  : std::vector<std::wstring>{L"Lumisk未保存デザイン.dsg", L"一時",
                                                                              L"設定表.ini"}),
            "nothing but the rescue file left beside the file");
      check(namesIn(tempFolder()) ==
                (folderHeld ? std::vector<std::wstring>{rescueName} : std::vector<std::wstring>{}),
            "nothing in the temporary folder but a rescue file that went there");
      DesignList imported;
      std::string importDir;
      prompts.files.push_back(rescue);
      faults.reset();
      check(importDesigns(imported, importDir, prompts, files, collation) && imported == newDesigns,
            "the rescue file holds every design of the session");
    }
    removeAllBut(folder.path(), {L"設定表.ini", L"一時"});  // a failure here is not counted again in the next case
    removeAllBut(tempFolder(), {});
    check(faults.openHandles() == 0, "no handle left open");
    check(!plug.active(), "the plug-in has ended");

    // The plug-in goes on: it starts on what the file holds, and the next end writes it cleanly.
    faults.reset();
    prompts.errors.clear();
    check(plug.beginPlugin() == host.menusResult, "the next start");
    check(plug.active() && plug.designs() == (saved ? newDesigns : oldDesigns), "the designs on disk");
    plug.endPlugin();
    check(prompts.errors.empty() && readBytes(wideIni()) == (saved ? newBytes : oldBytes), "the next end");
    return ok;
  });
  printTally("End", tally, clean.size());
  std::printf("[ figures  ] rescue files (End): %d beside the INI file, %d in the temporary folder\n", rescuedBeside,
              rescuedInTemp);
  EXPECT_EQ(tally.passed, tally.cases);
  EXPECT_EQ(tally.cases, tally.points * 3 + tally.held);
  EXPECT_GT(rescuedInTemp, 0);
}

class ExportFaultTest : public RealFilesTest {
 protected:
  void SetUp() override {
    RealFilesTest::SetUp();
    ASSERT_TRUE(CreateDirectoryW(outFolder().c_str(), nullptr)) << kJapaneseNames;
  }
  std::wstring outFolder() const { return folder.path() + L"出力ソ\\"; }
  std::wstring wideTarget() const { return outFolder() + L"書き出し.dsg"; }
  std::string target() const { return cp932(wideTarget()); }

  // Exports the selected designs to the target, answering the save dialog.
  void exportTo(TEditForm& form) {
    saveScript.answers = {target()};
    EditorTest::command(form, kCmdExport);
  }
};

TEST_F(ExportFaultTest, EveryFailingCallOfAnExportKeepsTheOldDesignFile) {
  const DesignList designs = manyDesigns(kDesignCount);
  writeIni(designs);
  ASSERT_EQ(plug.beginPlugin(), host.menusResult);
  TEditForm& form = openEditor();

  // The old design file: the first ten designs. The new one: all of them.
  EditorTest::selectDesigns(form, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  faults.reset();
  exportTo(form);
  ASSERT_TRUE(prompts.errors.empty());
  const std::string oldBytes = readBytes(wideTarget());
  std::vector<int> all(kDesignCount);
  for (int i = 0; i < kDesignCount; ++i) all[static_cast<std::size_t>(i)] = i;
  EditorTest::selectDesigns(form, all);

  Tally total;
  std::size_t cleanCalls = 0;
  for (bool targetExists : {true, false}) {
    SCOPED_TRACE(targetExists ? "replacing a design file" : "creating a design file");
    auto restore = [&] {
      if (targetExists)
        writeBytes(wideTarget(), oldBytes);
      else
        removeTree(wideTarget());
    };
    const std::vector<std::wstring> oldNames =
        targetExists ? std::vector<std::wstring>{L"書き出し.dsg"} : std::vector<std::wstring>{};

    restore();
    faults.reset();
    exportTo(form);
    ASSERT_TRUE(prompts.errors.empty());
    const std::vector<FileFaults::Call> clean = faults.made();
    const std::string newBytes = readBytes(wideTarget());
    ASSERT_NE(newBytes, oldBytes);
    cleanCalls += clean.size();

    const Tally tally = everyFault(clean, [&](const Fault& fault) {
      restore();
      prompts.errors.clear();
      plug.settings().ExportDir = "C:\\前の出力先\\";
      faults.failAt(fault.call, fault.error, fault.deleteFails, fault.held);
      exportTo(form);

      const auto message = expectedMessage(clean, fault, target());
      const bool saved = !message;
      const auto deletes = std::count_if(faults.made().begin(), faults.made().end(),
                                         [](const auto& c) { return c.name == "DeleteFileW"; });
      bool ok = true;
      auto check = [&](bool held, const char* what) {
        EXPECT_TRUE(held) << what;
        ok = ok && held;
      };
      check(faults.failed(), "the failing call was reached");
      check(saved || !fault.deleteFails || deletes >= 2, "the delete of the new file failed and was tried again");
      check(prompts.errors == (saved ? std::vector<std::string>{} : std::vector<std::string>{*message}),
            "told the plug-in's message for the failure, once");
      if (saved) {
        check(readBytes(wideTarget()) == newBytes, "the new file");
      } else {
        check(namesIn(outFolder()) == oldNames, "nothing left beside the file");
        removeAllBut(outFolder(), {L"書き出し.dsg"});
        check(!targetExists || readBytes(wideTarget()) == oldBytes, "the old bytes");
        check(plug.settings().ExportDir == "C:\\前の出力先\\", "the export folder stays");
      }
      check(faults.openHandles() == 0, "no handle left open");
      check(launcher->form() == &form && !form.workingCopy().modified() && form.workingCopy().rows() == designs, "the editor goes on unchanged");

      // The next export succeeds.
      faults.reset();
      prompts.errors.clear();
      exportTo(form);
      check(prompts.errors.empty() && readBytes(wideTarget()) == newBytes, "the next export");
      check(plug.settings().ExportDir == cp932(outFolder()), "the next export's folder");
      return ok;
    });
    total.points += tally.points;
    total.cases += tally.cases;
    total.held += tally.held;
    total.passed += tally.passed;
  }
  printTally("export", total, cleanCalls);
  EXPECT_EQ(total.passed, total.cases);
  EXPECT_EQ(total.cases, total.points * 3 + total.held);
}

}  // namespace
}  // namespace lumisk::testing
