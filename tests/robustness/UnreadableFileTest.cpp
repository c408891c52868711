// A file that could not be read is never overwritten, and nothing is taken from it: an INI file or a
// design file that another program holds without sharing, that the system refuses to open, or that can be
// read only in part. The start says so and does not start, so the end leaves the INI file as it was; an
// import says so and appends nothing, in the plug-in menu and in the editor alike.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/robustness/RealFilesFixture.h"

namespace lumisk::testing {
namespace {

// Something that keeps a file unreadable until it is released.
using Hold = std::shared_ptr<void>;

struct Unreadable {
  const char* how;
  std::function<Hold(FileFaults&, const std::wstring&)> hold;
};

const std::vector<Unreadable> kUnreadable = {
    {"held by another program without sharing",
     [](FileFaults&, const std::wstring& path) -> Hold {
       const HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       if (lock == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold the file");
       return Hold(lock, [](void* h) { CloseHandle(h); });
     }},
    {"refused by the system",
     [](FileFaults& faults, const std::wstring& path) -> Hold {
       faults.denyReading(path, ERROR_ACCESS_DENIED);
       return Hold(&faults, [](void* f) { static_cast<FileFaults*>(f)->reset(); });
     }},
    {"readable only in part",
     [](FileFaults& faults, const std::wstring& path) -> Hold {
       faults.readHalf(path, ERROR_LOCK_VIOLATION);
       return Hold(&faults, [](void* f) { static_cast<FileFaults*>(f)->reset(); });
     }},
};

using UnreadableIniTest = RealFilesTest;

TEST_F(UnreadableIniTest, TheStartSaysSoAndTheEndLeavesTheFileAsItWas) {
  const DesignList designs = manyDesigns(40);
  const std::string bytes = writeIni(designs);
  for (const Unreadable& u : kUnreadable) {
    SCOPED_TRACE(u.how);
    prompts.errors.clear();
    Hold hold = u.hold(faults, wideIni());
    EXPECT_EQ(plug.beginPlugin(), 0);
    EXPECT_FALSE(plug.active());
    EXPECT_EQ(prompts.errors, std::vector<std::string>{cannotOpenError(ini()).what()});
    TPluginMenuItem record{};
    EXPECT_EQ(plug.getMenu(0, &record), 0) << "no menu";
    prompts.files = {ini()};
    EXPECT_EQ(plug.menuClick(33, 0), 0) << "no command";
    EXPECT_TRUE(prompts.fileFolders.empty()) << "nothing asked";
    EXPECT_EQ(plug.endPlugin(), -1);
    EXPECT_EQ(prompts.errors.size(), 1u) << "the end has nothing to tell";
    EXPECT_EQ(faults.openHandles(), 0u);
    hold.reset();
    prompts.files.clear();

    EXPECT_EQ(readBytes(wideIni()), bytes);
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"設定表.ini"});
    // Readable again: every design is there.
    ASSERT_EQ(plug.beginPlugin(), host.menusResult);
    EXPECT_EQ(plug.designs(), designs);
    plug.endPlugin();
    EXPECT_EQ(readBytes(wideIni()), bytes);
  }
}

class UnreadableImportTest : public RealFilesTest {
 protected:
  void SetUp() override {
    RealFilesTest::SetUp();
    ASSERT_TRUE(CreateDirectoryW((folder.path() + L"取込ソ").c_str(), nullptr)) << kJapaneseNames;
    dsgBytes = "[1]\r\nName=取り込み1\r\nCols=4\r\n\r\n[2]\r\nName=取り込み2\r\nRows=3\r\n\r\n";
    writeBytes(wideDsg(), dsgBytes);
    designs = manyDesigns(3);
    iniBytes = writeIni(designs);
    ASSERT_EQ(plug.beginPlugin(), host.menusResult);
    plug.settings().ImportDir = "C:\\前の取込元\\";
  }
  std::wstring wideDsg() const { return folder.path() + L"取込ソ\\読めない表.dsg"; }
  std::string dsg() const { return cp932(wideDsg()); }

  // After a refused import: told once, nothing appended or changed, nothing written.
  void expectNothingChanged(const DesignList& now) {
    EXPECT_EQ(prompts.errors, std::vector<std::string>{cannotOpenError(dsg()).what()});
    EXPECT_EQ(now, designs);
    EXPECT_EQ(plug.designs(), designs);
    EXPECT_EQ(plug.settings().ImportDir, "C:\\前の取込元\\");
    EXPECT_EQ(faults.openHandles(), 0u);
  }
  void expectFilesUntouched() {
    EXPECT_EQ(readBytes(wideDsg()), dsgBytes);
    EXPECT_EQ(readBytes(wideIni()), iniBytes);
    EXPECT_EQ(namesIn(folder.path() + L"取込ソ\\"), std::vector<std::wstring>{L"読めない表.dsg"});
  }

  std::string dsgBytes;
  std::string iniBytes;
  DesignList designs;
};

TEST_F(UnreadableImportTest, TheMenuImportSaysSoAndAppendsNothing) {
  const int32_t importItem = static_cast<int32_t>(designs.count()) + 3;
  for (const Unreadable& u : kUnreadable) {
    SCOPED_TRACE(u.how);
    prompts.errors.clear();
    const std::size_t menuRebuilds = host.callsOf("OQAChangePluginMenus").size();
    Hold hold = u.hold(faults, wideDsg());
    prompts.files = {dsg()};
    EXPECT_EQ(plug.menuClick(importItem, 0), 0);
    expectNothingChanged(plug.designs());
    EXPECT_TRUE(prompts.informed.empty()) << "no list of imported names";
    EXPECT_EQ(host.callsOf("OQAChangePluginMenus").size(), menuRebuilds) << "the menu stays";
    hold.reset();
    expectFilesUntouched();
  }
  // Readable again: both designs come in.
  prompts.files = {dsg()};
  EXPECT_EQ(plug.menuClick(importItem, 0), host.menusResult);
  EXPECT_EQ(plug.designs().count(), designs.count() + 2);
}

TEST_F(UnreadableImportTest, TheEditorsImportSaysSoAndAppendsNothing) {
  TEditForm& form = openEditor();
  const std::vector<std::string> rowsShown = EditorTest::listNames(form);
  EditorTest::selectDesigns(form, {1});
  for (const Unreadable& u : kUnreadable) {
    SCOPED_TRACE(u.how);
    prompts.errors.clear();
    Hold hold = u.hold(faults, wideDsg());
    prompts.files = {dsg()};
    EditorTest::command(form, kCmdImport);
    expectNothingChanged(form.workingCopy().rows());
    EXPECT_EQ(EditorTest::listNames(form), rowsShown);
    EXPECT_EQ(EditorTest::selectedDesigns(form), std::vector<int>{1});
    EXPECT_FALSE(form.workingCopy().modified());
    hold.reset();
    expectFilesUntouched();
  }
  prompts.files = {dsg()};
  EditorTest::command(form, kCmdImport);
  EXPECT_EQ(form.workingCopy().rows().count(), designs.count() + 2);
  EXPECT_TRUE(form.workingCopy().modified());
}

}  // namespace
}  // namespace lumisk::testing
