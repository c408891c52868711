// No design is lost to a failing disk: every Win32 file call of the two saves a person meets, the end of
// the plug-in (the INI file) and the editor's export (a design file), is made to fail in turn in the three
// ways a full disk, a virus scanner and the system's permissions fail it; so is the delete of the new file
// that such a failure leaves. Each time the old file must stay byte for byte, nothing may be left beside
// it, the person must be told the plug-in's message for that failure, and the next save must succeed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

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

// What the person is told when call `k` of `calls` fails: nothing when the save still succeeds (a read
// whose handle will not close has all its bytes already; after the rename the new file is in place).
std::optional<std::string> expectedMessage(const std::vector<FileFaults::Call>& calls, std::size_t k,
                                           const std::string& path) {
  if (k > renameCall(calls)) return std::nullopt;
  const FileFaults::Call& call = calls[k - 1];
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

void removeAllBut(const std::wstring& folder, const std::wstring& keep) {
  for (const std::wstring& name : namesIn(folder))
    if (name != keep) removeTree(folder + name);
}

struct Tally {
  int points = 0;  // calls of a clean save plus deletes after a failure
  int cases = 0;
  int passed = 0;
};

// Runs `attempt` for every call of `clean` failing with each error, and once more with the delete of the
// new file failing too wherever there is one; `attempt` returns whether every check held.
Tally everyFault(const std::vector<FileFaults::Call>& clean,
                 const std::function<bool(std::size_t, DWORD, bool)>& attempt) {
  Tally tally;
  const std::size_t withNewFile = firstCallWithNewFile(clean);
  const std::size_t renamed = renameCall(clean);
  for (std::size_t k = 1; k <= clean.size(); ++k) {
    for (bool deleteFails : {false, true}) {
      if (deleteFails && (k < withNewFile || k > renamed)) continue;
      ++tally.points;
      for (DWORD error : kErrors) {
        SCOPED_TRACE(::testing::Message() << "call " << k << " " << clean[k - 1].name
                                          << (clean[k - 1].writing ? " (writing)" : " (reading)") << " fails with "
                                          << error << (deleteFails ? ", and so does the delete of the new file" : ""));
        ++tally.cases;
        tally.passed += attempt(k, error, deleteFails);
      }
    }
  }
  return tally;
}

void printTally(const char* save, const Tally& t, std::size_t calls) {
  std::printf("[ figures  ] fault points (%s): %d x 3 = %d of %d passed (%zu calls of a clean save, %d deletes after "
              "a failure)\n",
              save, t.points, t.passed, t.cases, calls, t.points - static_cast<int>(calls));
}

using SaveFaultTest = RealFilesTest;

TEST_F(SaveFaultTest, EveryFailingCallOfTheEndKeepsTheOldIniFile) {
  const DesignList oldDesigns = manyDesigns(kDesignCount);
  DesignList newDesigns = oldDesigns;
  newDesigns.append("新しいデザイン", sampleDesign(99));
  const std::string oldBytes = writeIni(oldDesigns);

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

  const Tally tally = everyFault(clean, [&](std::size_t k, DWORD error, bool deleteFails) {
    writeBytes(wideIni(), oldBytes);
    prompts.errors.clear();
    faults.reset();
    if (plug.beginPlugin() != host.menusResult || !(plug.designs() == oldDesigns)) {
      ADD_FAILURE() << "the old file did not load";
      return false;
    }
    plug.designs() = newDesigns;
    faults.failAt(k, error, deleteFails);
    const int32_t result = plug.endPlugin();

    const auto message = expectedMessage(clean, k, ini());
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
    check(!deleteFails || deletes >= 2, "the delete of the new file failed and was tried again");
    check(prompts.errors == (saved ? std::vector<std::string>{} : std::vector<std::string>{*message}),
          "told the plug-in's message for the failure, once");
    check(readBytes(wideIni()) == (saved ? newBytes : oldBytes), "the file holds the old bytes (or all new ones)");
    check(folder.names() == std::vector<std::wstring>{L"設定表.ini"}, "nothing left beside the file");
    removeAllBut(folder.path(), L"設定表.ini");  // a failure here is not counted again in the next case
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
  EXPECT_EQ(tally.passed, tally.cases);
  EXPECT_EQ(tally.cases, tally.points * 3);
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

    const Tally tally = everyFault(clean, [&](std::size_t k, DWORD error, bool deleteFails) {
      restore();
      prompts.errors.clear();
      plug.settings().ExportDir = "C:\\前の出力先\\";
      faults.failAt(k, error, deleteFails);
      exportTo(form);

      const auto message = expectedMessage(clean, k, target());
      const bool saved = !message;
      const auto deletes = std::count_if(faults.made().begin(), faults.made().end(),
                                         [](const auto& c) { return c.name == "DeleteFileW"; });
      bool ok = true;
      auto check = [&](bool held, const char* what) {
        EXPECT_TRUE(held) << what;
        ok = ok && held;
      };
      check(faults.failed(), "the failing call was reached");
      check(!deleteFails || deletes >= 2, "the delete of the new file failed and was tried again");
      check(prompts.errors == (saved ? std::vector<std::string>{} : std::vector<std::string>{*message}),
            "told the plug-in's message for the failure, once");
      if (saved) {
        check(readBytes(wideTarget()) == newBytes, "the new file");
      } else {
        check(namesIn(outFolder()) == oldNames, "nothing left beside the file");
        removeAllBut(outFolder(), L"書き出し.dsg");
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
    total.passed += tally.passed;
  }
  printTally("export", total, cleanCalls);
  EXPECT_EQ(total.passed, total.cases);
  EXPECT_EQ(total.cases, total.points * 3);
}

}  // namespace
}  // namespace lumisk::testing
