// kill-saves KILLS [SEED]: kills a process that saves a large INI file in a loop (save-loop, beside this
// program) at KILLS random moments, the way the system ends a program that hangs or a person ends it
// from the task manager. After each kill the file must hold exactly one of the two sets of designs the
// loop writes, never a mixture or a part, and a save must succeed at once although the killed save may
// have left its new file behind; that save removes it, so that in the end no new file is left at all.
// While the loop runs, this program saves another file of the same folder over and over: each of those
// saves tidies the folder up, and none may take the new file of the live save-loop from under it (its
// save would fail and it would end by itself). Prints the figures and exits with 0 when every kill passed.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/robustness/DesignSets.h"
#include "tests/win32/TempFolder.h"
#include "win32/Cp932.h"
#include "win32/Win32FileAccess.h"

namespace lumisk::testing {
namespace {

constexpr UINT kKilledExitCode = 0x4B;

double now() {
  LARGE_INTEGER count{}, frequency{};
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Waits `seconds`, to the tenth of a millisecond: Sleep alone rounds to whole milliseconds and more.
void waitFor(double seconds) {
  const double until = now() + seconds;
  while (until - now() > 0.002) Sleep(1);
  while (now() < until) {
  }
}

std::wstring besideThisProgram(const wchar_t* name) {
  std::wstring self(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (n < self.size()) {
      self.resize(n);
      break;
    }
    self.resize(self.size() * 2);
  }
  return self.substr(0, self.find_last_of(L"\\/") + 1) + name;
}

std::set<std::wstring> newFilesLeft(const std::wstring& folder) {
  std::set<std::wstring> names;
  for (const std::wstring& name : namesIn(folder))
    if (name.rfind(L"~lumisk-", 0) == 0) names.insert(name);
  return names;
}

// Saves a small file of the folder over and over on a thread of its own until stopped.
class NeighbourSaves {
 public:
  explicit NeighbourSaves(std::string path) : path_(std::move(path)), thread_([this] { run(); }) {}
  NeighbourSaves(const NeighbourSaves&) = delete;
  NeighbourSaves& operator=(const NeighbourSaves&) = delete;
  ~NeighbourSaves() { stop(); }
  // Stops and waits for the thread; the number of saves made.
  int stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return saves_;
  }
  const std::string& failure() const { return failure_; }

 private:
  void run() {
    Win32FileAccess files;
    while (!stop_) {
      try {
        files.replaceAll(path_, "[Main]\r\nLeft=" + std::to_string(saves_) + "\r\n");
        ++saves_;
      } catch (const std::exception& e) {
        failure_ = e.what();
        return;
      }
      Sleep(1);
    }
  }

  std::string path_;
  std::atomic<bool> stop_{false};
  int saves_ = 0;
  std::string failure_;
  std::thread thread_;
};

struct Figures {
  int kills = 0;
  int midWrite = 0;  // a new file of the killed save was left behind
  int heldA = 0;
  int heldB = 0;
  int torn = 0;      // neither set
  int nextSaves = 0;
  int neighbourSaves = 0;
  int failures = 0;
};

int run(int kills, unsigned seed) {
  TempFolder folder;
  const std::wstring wideIni = folder.path() + L"設定表.ini";
  const std::string ini = toCp932(wideIni).value();
  const std::string neighbourIni = toCp932(folder.path() + L"隣.ini").value();
  const std::string setA = designSetBytes('A');
  const std::string setB = designSetBytes('B');
  Win32FileAccess files;

  // How long one save takes here: the random moments cover a few saves, every part of one alike.
  const double start = now();
  files.replaceAll(ini, setA);
  const double saveSeconds = now() - start;
  std::printf("set A %zu bytes, set B %zu bytes, %d designs each; one save %.1f ms; seed %u\n", setA.size(),
              setB.size(), kSetDesigns, saveSeconds * 1000, seed);

  std::mt19937 random(seed);
  std::uniform_real_distribution<double> moment(0.0, 3.0 * saveSeconds);
  const std::wstring child = besideThisProgram(L"save-loop.exe");
  const std::wstring eventName = L"lumisk-save-loop-" + std::to_wstring(GetCurrentProcessId());
  Figures f;
  std::size_t left = 0;
  for (int i = 0; i < kills; ++i) {
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    std::wstring commandLine = L"\"" + child + L"\" \"" + wideIni + L"\" " + eventName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!ready || !CreateProcessW(child.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process)) {
      std::printf("kill %d: cannot start save-loop (error %lu)\n", i + 1, GetLastError());
      return 1;
    }
    const HANDLE waits[] = {ready, process.hProcess};
    if (WaitForMultipleObjects(2, waits, FALSE, 60000) != WAIT_OBJECT_0) {
      std::printf("kill %d: save-loop ended or hung before its first save\n", i + 1);
      TerminateProcess(process.hProcess, kKilledExitCode);
      return 1;
    }
    {
      NeighbourSaves neighbour(neighbourIni);
      waitFor(moment(random));
      f.neighbourSaves += neighbour.stop();
      if (!neighbour.failure().empty()) {
        std::printf("kill %d: a save beside the loop failed: %s\n", i + 1, neighbour.failure().c_str());
        ++f.failures;
      }
    }
    TerminateProcess(process.hProcess, kKilledExitCode);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(ready);
    ++f.kills;
    if (exitCode != kKilledExitCode) {
      std::printf("kill %d: save-loop had ended by itself with %lu\n", i + 1, exitCode);
      ++f.failures;
    }

    if (!newFilesLeft(folder.path()).empty()) ++f.midWrite;

    const std::string held = readBytes(wideIni);
    const bool isA = held == setA;
    const bool isB = held == setB;
    f.heldA += isA;
    f.heldB += isB;
    if (!isA && !isB) {
      ++f.torn;
      ++f.failures;
      std::printf("kill %d: the file holds %zu bytes, neither set\n", i + 1, held.size());
    }

    // The next save, with whatever the killed one left beside the file.
    const std::string& other = isA ? setB : setA;
    try {
      files.replaceAll(ini, other);
      if (readBytes(wideIni) == other) {
        ++f.nextSaves;
      } else {
        ++f.failures;
        std::printf("kill %d: the next save did not write its bytes\n", i + 1);
      }
    } catch (const std::exception& e) {
      ++f.failures;
      std::printf("kill %d: the next save failed: %s\n", i + 1, e.what());
    }
    left = newFilesLeft(folder.path()).size();
    if (left != 0) {
      ++f.failures;
      std::printf("kill %d: the next save left %zu new files of others beside the file\n", i + 1, left);
    }
  }
  std::printf("kills: %d, caught mid-write (new file left): %d, file held set A: %d, set B: %d, neither: %d, "
              "next save succeeded: %d, saves beside the live loop: %d, new files left in the end: %zu\n",
              f.kills, f.midWrite, f.heldA, f.heldB, f.torn, f.nextSaves, f.neighbourSaves, left);
  // Kills that all fell between saves would prove nothing about a save cut short.
  if (kills >= 10 && f.midWrite == 0) {
    std::printf("no kill caught a save in the middle\n");
    ++f.failures;
  }
  return f.failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace lumisk::testing

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: kill-saves KILLS [SEED]\n", stderr);
    return 2;
  }
  const int kills = std::max(1, std::atoi(argv[1]));
  LARGE_INTEGER ticks{};
  QueryPerformanceCounter(&ticks);
  const unsigned seed = argc == 3 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                  : static_cast<unsigned>(ticks.QuadPart);
  try {
    return lumisk::testing::run(kills, seed);
  } catch (const std::exception& e) {
    std::printf("kill-saves: %s\n", e.what());
    return 1;
  }
}
