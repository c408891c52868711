#include "win32/Win32FileAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <set>

#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"

namespace lumisk {
namespace {

using testing::kJapaneseNames;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// Scripted failures for the file calls: the call numbered `failAt` (counted from 1) fails with `error`
// the way the system fails it. The calls made and the handles left open are recorded.
struct FaultPlan {
  std::size_t failAt = 0;
  DWORD error = 0;
  std::vector<std::string> calls;
  std::set<HANDLE> open;
  // CREATE_NEW finds the first `staleNames` names taken, as by files left from a run that died.
  int staleNames = 0;
  std::vector<std::wstring> newFileNames;
  // WriteFile writes at most this many bytes per call; none when 0.
  DWORD writeLimit = 0;
  bool writeNothing = false;
  // GetFileSizeEx reports the size plus this.
  LONGLONG sizeSkew = 0;
  // The next `heldFailures` calls named `held` fail with `heldError`, as while another program holds the
  // file or its folder.
  std::string held;
  int heldFailures = 0;
  DWORD heldError = 0;
  // The pauses asked for, none of them waited.
  std::vector<DWORD> pauses;
  // What GetTempPathW answers; the system's own folder when unset.
  std::optional<std::wstring> tempPath;
};
FaultPlan* plan = nullptr;

FaultPlan failAt(std::size_t call, DWORD error) {
  FaultPlan p;
  p.failAt = call;
  p.error = error;
  return p;
}

bool failing(const char* call) {
  plan->calls.push_back(call);
  if (plan->held == call && plan->heldFailures > 0) {
    --plan->heldFailures;
    SetLastError(plan->heldError);
    return true;
  }
  if (plan->calls.size() != plan->failAt) return false;
  SetLastError(plan->error);
  return true;
}

DWORD WINAPI getAttributes(LPCWSTR name) {
  if (failing("GetFileAttributesW")) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(name);
}

HANDLE WINAPI createFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                         DWORD flags, HANDLE templ) {
  if (failing("CreateFileW")) return INVALID_HANDLE_VALUE;
  if (disposition == CREATE_NEW) {
    plan->newFileNames.push_back(name);
    if (plan->staleNames > 0) {
      --plan->staleNames;
      writeBytes(name, "left from a run that died");
      SetLastError(ERROR_FILE_EXISTS);
      return INVALID_HANDLE_VALUE;
    }
  }
  const HANDLE h = ::CreateFileW(name, access, share, security, disposition, flags, templ);
  if (h != INVALID_HANDLE_VALUE) plan->open.insert(h);
  return h;
}

BOOL WINAPI getSize(HANDLE file, PLARGE_INTEGER size) {
  if (failing("GetFileSizeEx")) return FALSE;
  const BOOL ok = ::GetFileSizeEx(file, size);
  size->QuadPart += plan->sizeSkew;
  return ok;
}

BOOL WINAPI readFile(HANDLE file, LPVOID buffer, DWORD want, LPDWORD got, LPOVERLAPPED overlapped) {
  if (failing("ReadFile")) return FALSE;
  return ::ReadFile(file, buffer, want, got, overlapped);
}

BOOL WINAPI writeFile(HANDLE file, LPCVOID bytes, DWORD want, LPDWORD written, LPOVERLAPPED overlapped) {
  if (failing("WriteFile")) {
    // A full disk takes part of the bytes before it refuses.
    DWORD some = 0;
    ::WriteFile(file, bytes, want / 2, &some, overlapped);
    SetLastError(plan->error);
    *written = 0;
    return FALSE;
  }
  if (plan->writeNothing) {
    *written = 0;
    return TRUE;
  }
  if (plan->writeLimit) want = std::min(want, plan->writeLimit);
  return ::WriteFile(file, bytes, want, written, overlapped);
}

BOOL WINAPI flush(HANDLE file) {
  if (failing("FlushFileBuffers")) return FALSE;
  return ::FlushFileBuffers(file);
}

// A close that fails still ends the handle, as it does for a write error reported late.
BOOL WINAPI closeHandle(HANDLE h) {
  const bool fails = failing("CloseHandle");
  plan->open.erase(h);
  const BOOL ok = ::CloseHandle(h);
  if (!fails) return ok;
  SetLastError(plan->error);
  return FALSE;
}

BOOL WINAPI moveFile(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (failing("MoveFileExW")) return FALSE;
  return ::MoveFileExW(from, to, flags);
}

BOOL WINAPI deleteFile(LPCWSTR name) {
  if (failing("DeleteFileW")) return FALSE;
  return ::DeleteFileW(name);
}

void WINAPI sleep(DWORD ms) { plan->pauses.push_back(ms); }

DWORD WINAPI getTempPath(DWORD size, LPWSTR buffer) {
  if (!plan->tempPath) return ::GetTempPathW(size, buffer);
  const std::wstring& path = *plan->tempPath;
  if (path.size() >= size) return static_cast<DWORD>(path.size() + 1);
  std::copy(path.begin(), path.end(), buffer);
  buffer[path.size()] = L'\0';
  return static_cast<DWORD>(path.size());
}

FileCalls scriptedCalls() {
  FileCalls calls;
  calls.getFileAttributes = getAttributes;
  calls.createFile = createFile;
  calls.getFileSize = getSize;
  calls.readFile = readFile;
  calls.writeFile = writeFile;
  calls.flushFileBuffers = flush;
  calls.closeHandle = closeHandle;
  calls.moveFile = moveFile;
  calls.deleteFile = deleteFile;
  calls.sleep = sleep;
  calls.getTempPath = getTempPath;
  return calls;
}

std::string cp932(const std::wstring& wide) { return toCp932(wide).value(); }

// Every byte value, in a pattern that no shifted copy matches.
std::string patternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + seed + i / 251) & 0xFF);
  return bytes;
}

// A failure that creating the new file or the rename waits out: another program holding the file.
bool waitedOut(const std::string& call, DWORD error) {
  return (call == "CreateFileW" || call == "MoveFileExW") &&
         (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED);
}

// What a failed call should be reported as, in the person's terms.
std::string expectedError(const std::string& call, const std::string& path) {
  if (call == "GetFileAttributesW" || call == "CreateFileW") return cannotCreateError(path).what();
  return writeError().what();
}

class Win32FileAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { plan = &plan_; }
  void TearDown() override { plan = nullptr; }

  std::string expectThrows(const std::function<void()>& body) {
    try {
      body();
    } catch (const FileError& e) {
      return e.what();
    }
    ADD_FAILURE() << "no FileError";
    return {};
  }

  TempFolder folder_;
  FaultPlan plan_;
  Win32FileAccess real_;
};

TEST_F(Win32FileAccessTest, ReadsWholeFilesOfAnySize) {
  // The folder's name has 0x5C as a second byte: the path reaches Windows as the characters meant.
  const std::wstring sub = folder_.path() + L"予定表ソ\\";
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr)) << kJapaneseNames;
  Win32FileAccess files(scriptedCalls());
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65539}, std::size_t{3u << 20}}) {
    SCOPED_TRACE(size);
    const std::string bytes = patternBytes(size, static_cast<unsigned>(size));
    writeBytes(sub + L"表.ini", bytes);
    EXPECT_EQ(files.readAll(cp932(sub) + "表.ini"), bytes);
    EXPECT_TRUE(plan_.open.empty());
  }
}

TEST_F(Win32FileAccessTest, ReadsOnWhateverTheSizeSaid) {
  const std::string bytes = patternBytes(100000, 3);
  writeBytes(folder_.path() + L"a.ini", bytes);
  Win32FileAccess files(scriptedCalls());
  for (LONGLONG skew : {-99999LL, -1LL, 1LL, 5000LL}) {
    plan_.sizeSkew = skew;
    EXPECT_EQ(files.readAll(cp932(folder_.path()) + "a.ini"), bytes) << skew;
  }
}

TEST_F(Win32FileAccessTest, NothingThereReadsAsNoFile) {
  writeBytes(folder_.path() + L"a.ini", "[Main]\r\n");
  const std::string base = cp932(folder_.path());
  const std::vector<std::string> nothing = {
      "",
      base + "missing.ini",
      base + "no folder\\a.ini",
      base + "a.ini\x82",                     // a lone lead byte: no name of any file
      base + std::string("a.ini\0.bak", 10),  // a NUL: must not be read as "a.ini"
  };
  for (const auto& path : nothing) EXPECT_EQ(real_.readAll(path), std::nullopt) << path;
}

TEST_F(Win32FileAccessTest, SomethingThereThatCannotBeReadIsAnError) {
  const std::string base = cp932(folder_.path());
  ASSERT_TRUE(CreateDirectoryW((folder_.path() + L"sub").c_str(), nullptr));
  EXPECT_EQ(expectThrows([&] { real_.readAll(base + "sub"); }), cannotOpenError(base + "sub").what());

  writeBytes(folder_.path() + L"locked.ini", "x");
  const HANDLE lock =
      CreateFileW((folder_.path() + L"locked.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_EQ(expectThrows([&] { real_.readAll(base + "locked.ini"); }), cannotOpenError(base + "locked.ini").what());
  CloseHandle(lock);
}

TEST_F(Win32FileAccessTest, EveryFailingReadCallIsReported) {
  const std::string path = cp932(folder_.path()) + "a.ini";
  const std::string bytes = patternBytes(70000, 5);
  writeBytes(folder_.path() + L"a.ini", bytes);
  Win32FileAccess files(scriptedCalls());
  ASSERT_EQ(files.readAll(path), bytes);
  const std::vector<std::string> calls = plan_.calls;
  for (std::size_t k = 1; k <= calls.size(); ++k) {
    for (DWORD error : {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}) {
      SCOPED_TRACE(::testing::Message() << "call " << k << " " << calls[k - 1] << " fails with " << error);
      plan_ = failAt(k, error);
      if (calls[k - 1] == "CloseHandle") {
        EXPECT_EQ(files.readAll(path), bytes) << "the bytes are all read before the close";
      } else {
        EXPECT_EQ(expectThrows([&] { files.readAll(path); }), cannotOpenError(path).what());
      }
      EXPECT_TRUE(plan_.open.empty());
    }
  }
}

TEST_F(Win32FileAccessTest, ReplacesAndCreatesFiles) {
  const std::wstring sub = folder_.path() + L"表ソ\\";
  ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr)) << kJapaneseNames;
  struct Step {
    std::string path;  // relative to the folder
    std::string bytes;
  };
  const std::vector<Step> steps = {
      {"予定表.ini", patternBytes(200000, 1)},  // created
      {"予定表.ini", "short"},                  // a longer file replaced by a shorter one
      {"予定表.ini", ""},                       // no bytes at all
      {"予定表.ini", patternBytes(10, 2)},
  };
  for (const auto& step : steps) {
    const std::string path = cp932(sub) + step.path;
    real_.replaceAll(path, step.bytes);
    EXPECT_EQ(readBytes(toWide(path)), step.bytes);
    EXPECT_EQ(real_.readAll(path), step.bytes);
  }
  EXPECT_EQ(testing::namesIn(sub), std::vector<std::wstring>{L"予定表.ini"}) << "nothing left beside the file";

  // Forward slashes name the same folder.
  const std::string slashed = cp932(folder_.path()) + "表ソ/予定表.ini";
  real_.replaceAll(slashed, "slashed");
  EXPECT_EQ(readBytes(sub + L"予定表.ini"), "slashed");
}

TEST_F(Win32FileAccessTest, RefusesWhatMayNotOrCannotBeReplaced) {
  const std::string base = cp932(folder_.path());
  writeBytes(folder_.path() + L"readonly.ini", "old");
  ASSERT_TRUE(SetFileAttributesW((folder_.path() + L"readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  writeBytes(folder_.path() + L"a.ini", "a");
  ASSERT_TRUE(CreateDirectoryW((folder_.path() + L"folder.ini").c_str(), nullptr));

  const std::vector<std::string> refused = {
      base + "readonly.ini",
      base + "folder.ini",
      base + "no folder\\new.ini",
      base + "new.ini\x82",
      base + std::string("a.ini\0.bak", 10),
      "",
  };
  for (const auto& path : refused) {
    SCOPED_TRACE(path);
    EXPECT_EQ(expectThrows([&] { real_.replaceAll(path, "new"); }), cannotCreateError(path).what());
  }
  EXPECT_EQ(readBytes(folder_.path() + L"readonly.ini"), "old");
  EXPECT_EQ(readBytes(folder_.path() + L"a.ini"), "a");
  EXPECT_EQ(folder_.names(), (std::vector<std::wstring>{L"a.ini", L"folder.ini", L"readonly.ini"}));
}

// Every call of a save made to fail in turn, in the three ways a disk, a virus scanner and the system's
// permissions fail: the old file stays as it was, nothing else is left in the folder, no handle stays
// open, and the person is told the right thing.
TEST_F(Win32FileAccessTest, EveryFailingSaveCallLeavesTheOldFile) {
  const std::string path = cp932(folder_.path()) + "設定表.ini";
  const std::wstring widePath = folder_.path() + L"設定表.ini";
  const std::string oldBytes = patternBytes(5000, 7);
  const std::string newBytes = patternBytes(Win32FileAccess::kWriteChunk * 2 + 1234, 9);  // three writes
  Win32FileAccess files(scriptedCalls());

  writeBytes(widePath, oldBytes);
  files.replaceAll(path, newBytes);
  ASSERT_EQ(readBytes(widePath), newBytes);
  const std::vector<std::string> calls = plan_.calls;
  ASSERT_EQ(std::count(calls.begin(), calls.end(), "WriteFile"), 3);
  // After the rename the new bytes are in place: a call failing then fails nothing.
  const std::size_t renamed = static_cast<std::size_t>(std::find(calls.begin(), calls.end(), "MoveFileExW") -
                                                       calls.begin()) + 1;
  ASSERT_LT(renamed, calls.size());

  int passed = 0, cases = 0;
  for (bool targetExists : {true, false}) {
    for (std::size_t k = 1; k <= calls.size(); ++k) {
      for (DWORD error : {ERROR_DISK_FULL, ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}) {
        SCOPED_TRACE(::testing::Message() << (targetExists ? "replacing" : "creating") << ", call " << k << " "
                                          << calls[k - 1] << " fails with " << error);
        ++cases;
        testing::removeTree(widePath);
        if (targetExists) writeBytes(widePath, oldBytes);
        plan_ = failAt(k, error);
        const bool waited = waitedOut(calls[k - 1], error);
        const bool saved = k > renamed || waited;
        const std::string message = saved ? "" : expectThrows([&] { files.replaceAll(path, newBytes); });
        if (saved) files.replaceAll(path, newBytes);
        const bool reported = saved || message == expectedError(calls[k - 1], path);
        const bool reached = plan_.calls.size() >= k &&
                             plan_.pauses == (waited ? std::vector<DWORD>{Win32FileAccess::kHeldPausesMs[0]}
                                                     : std::vector<DWORD>{});
        const bool kept = saved ? readBytes(widePath) == newBytes : !targetExists || readBytes(widePath) == oldBytes;
        const bool clean = folder_.names() == (targetExists || saved ? std::vector<std::wstring>{L"設定表.ini"}
                                                                     : std::vector<std::wstring>{});
        const bool closed = plan_.open.empty();
        EXPECT_TRUE(reported) << message;
        EXPECT_TRUE(reached);
        EXPECT_TRUE(kept) << "the old file changed";
        EXPECT_TRUE(clean) << "files left in the folder: " << folder_.names().size();
        EXPECT_TRUE(closed) << "handles left open";
        passed += reported && reached && kept && clean && closed;
      }
    }
  }
  std::printf("[ figures  ] save fault injection: %d of %d cases passed (%zu calls x 3 errors x 2)\n", passed, cases,
              calls.size());
}

// Another program holds the file, or its folder, for a while: creating the new file and the rename are
// tried again after growing pauses, two seconds in all, and fail as before only after the last.
TEST_F(Win32FileAccessTest, AFileHeldForAWhileIsWaitedOut) {
  const std::string path = cp932(folder_.path()) + "設定表.ini";
  const std::wstring widePath = folder_.path() + L"設定表.ini";
  const std::vector<DWORD> allPauses(std::begin(Win32FileAccess::kHeldPausesMs),
                                     std::end(Win32FileAccess::kHeldPausesMs));
  const int attempts = static_cast<int>(allPauses.size()) + 1;
  struct Case {
    const char* call;
    int failures;
    DWORD error;
    bool saved;
  };
  const Case cases[] = {
      {"MoveFileExW", 1, ERROR_SHARING_VIOLATION, true},
      {"MoveFileExW", attempts - 1, ERROR_LOCK_VIOLATION, true},
      {"MoveFileExW", attempts, ERROR_ACCESS_DENIED, false},
      {"MoveFileExW", 1, ERROR_DISK_FULL, false},
      {"CreateFileW", attempts - 1, ERROR_SHARING_VIOLATION, true},
      {"CreateFileW", attempts, ERROR_ACCESS_DENIED, false},
      {"CreateFileW", 1, ERROR_PATH_NOT_FOUND, false},
  };
  Win32FileAccess files(scriptedCalls());
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.call << " fails " << c.failures << " times with " << c.error);
    writeBytes(widePath, "old");
    plan_ = FaultPlan{};
    plan_.held = c.call;
    plan_.heldFailures = c.failures;
    plan_.heldError = c.error;
    if (c.saved) {
      files.replaceAll(path, "new");
    } else {
      EXPECT_EQ(expectThrows([&] { files.replaceAll(path, "new"); }), expectedError(c.call, path));
    }
    EXPECT_EQ(readBytes(widePath), c.saved ? "new" : "old");
    const bool waits = waitedOut(c.call, c.error);
    const std::size_t paused = waits ? std::min<std::size_t>(static_cast<std::size_t>(c.failures), allPauses.size()) : 0;
    EXPECT_EQ(plan_.pauses, std::vector<DWORD>(allPauses.begin(), allPauses.begin() + static_cast<long>(paused)));
    EXPECT_EQ(std::count(plan_.calls.begin(), plan_.calls.end(), c.call),
              waits ? std::min(c.failures + 1, attempts) : 1);
    EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"設定表.ini"});
    EXPECT_TRUE(plan_.open.empty());
  }
  DWORD total = 0;
  for (DWORD pause : allPauses) total += pause;
  EXPECT_EQ(total, 2000u) << "two seconds in all";
}

// The temporary folder as code page 932 text ending in a separator, of any length the system gives.
TEST_F(Win32FileAccessTest, TheTemporaryFolderEndsInASeparator) {
  Win32FileAccess files(scriptedCalls());
  const std::wstring deep = L"C:\\" + std::wstring(300, L'a') + L"\\表ソ\\";
  const std::vector<std::pair<std::optional<std::wstring>, std::optional<std::string>>> cases = {
      {L"C:\\temp\\", "C:\\temp\\"},
      {L"C:\\表ソ", cp932(L"C:\\表ソ\\")},
      {deep, cp932(deep)},
      {L"C:\\caf\u00e9\\", std::nullopt},  // no code page 932 form
      {L"", std::nullopt},                   // the system names none
  };
  for (const auto& [given, expected] : cases) {
    plan_.tempPath = given;
    EXPECT_EQ(files.tempFolder(), expected);
  }
  plan_.tempPath.reset();
  const auto system = files.tempFolder();
  ASSERT_TRUE(system.has_value());
  EXPECT_EQ(system->back(), '\\');
}

TEST_F(Win32FileAccessTest, NamesLeftByARunThatDiedDoNotBlockASave) {
  const std::string path = cp932(folder_.path()) + "a.ini";
  writeBytes(folder_.path() + L"a.ini", "old");
  Win32FileAccess files(scriptedCalls());

  plan_.staleNames = 3;
  files.replaceAll(path, "new");
  EXPECT_EQ(readBytes(folder_.path() + L"a.ini"), "new");
  ASSERT_EQ(plan_.newFileNames.size(), 4u);
  EXPECT_EQ(std::set<std::wstring>(plan_.newFileNames.begin(), plan_.newFileNames.end()).size(), 4u);
  for (const auto& name : plan_.newFileNames)
    EXPECT_EQ(name.substr(0, folder_.path().size()), folder_.path()) << "in the folder of the file";
  EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"a.ini"}) << "the saves that died leave nothing behind";

  plan_ = FaultPlan{};
  plan_.staleNames = Win32FileAccess::kTempNameAttempts;
  EXPECT_EQ(expectThrows([&] { files.replaceAll(path, "newer"); }), cannotCreateError(path).what());
  EXPECT_EQ(readBytes(folder_.path() + L"a.ini"), "new");
}

// A save tidies up after saves that died, and only after them: files of another name stay, and so does
// the new file of a save still at work, held open as replaceAll holds it.
TEST_F(Win32FileAccessTest, ASaveRemovesWhatDeadSavesLeftAndNothingElse) {
  const std::wstring dir = folder_.path();
  const std::set<std::wstring> others = {L"~lumisk-0123abc.tmp", L"~lumisk-0123abcd.tmp.bak", L"~lumisk-0123abcg.tmp",
                                         L"lumisk-0123abcd.tmp", L"a.ini"};
  for (const auto& name : others) writeBytes(dir + name, "someone else's");
  for (const auto* name : {L"~lumisk-0123abcd.tmp", L"~lumisk-ffffffff.tmp"}) writeBytes(dir + name, "dead");
  const std::wstring live = dir + L"~lumisk-00000000.tmp";
  const HANDLE writing = CreateFileW(live.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writing, INVALID_HANDLE_VALUE);
  const auto namesLeft = [&] {
    const std::vector<std::wstring> names = folder_.names();
    return std::set<std::wstring>(names.begin(), names.end());
  };

  real_.replaceAll(cp932(dir) + "a.ini", "new");
  std::set<std::wstring> expected = others;
  expected.insert(L"~lumisk-00000000.tmp");
  EXPECT_EQ(namesLeft(), expected);
  CloseHandle(writing);
  EXPECT_EQ(namesLeft(), expected) << "nothing was marked to go when its writer is done with it";

  real_.replaceAll(cp932(dir) + "a.ini", "newer");
  EXPECT_EQ(namesLeft(), others);
  EXPECT_EQ(readBytes(dir + L"a.ini"), "newer");
}

TEST_F(Win32FileAccessTest, ShortWritesAreContinuedAndEmptyOnesFail) {
  const std::string path = cp932(folder_.path()) + "a.ini";
  const std::string bytes = patternBytes(10007, 4);
  Win32FileAccess files(scriptedCalls());
  plan_.writeLimit = 1000;
  files.replaceAll(path, bytes);
  EXPECT_EQ(readBytes(folder_.path() + L"a.ini"), bytes);

  plan_ = FaultPlan{};
  plan_.writeNothing = true;
  EXPECT_EQ(expectThrows([&] { files.replaceAll(path, "new"); }), writeError().what());
  EXPECT_EQ(readBytes(folder_.path() + L"a.ini"), bytes);
  EXPECT_EQ(folder_.names(), std::vector<std::wstring>{L"a.ini"});
}

}  // namespace
}  // namespace lumisk
