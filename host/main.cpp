// orbiqa-sim: the stand-in host. It loads the plug-in named on the command line and plays the launcher's
// part: it keeps pads with their settings, exports the host API, shows the plug-in menu and passes the
// clicks on.
//
//   orbiqa-sim.exe --plugin PATH [--ini PATH] [--host-ini PATH]      one window per pad
//   orbiqa-sim.exe --plugin PATH --script FILE [--data FOLDER] [--timeout SECONDS]
//   orbiqa-sim.exe --plugin PATH --ini PATH [--host-ini PATH] --demo the windows, driven for screenshots
//
// Each also takes --preload DLL (repeatable): each library is loaded, in the order given,
// before the plug-in and kept until the process ends, as the launcher's other plug-ins and shell
// extensions put their own libraries (a compiler's shared runtime among them) into its process first.
//
// The windowed runs keep the pads' settings in the host's own INI file (--host-ini, by default
// orbiqa-sim.ini in the current folder); a scripted run starts from the same pads every time and
// neither reads nor writes it.
//
// The scripted run writes its transcript (UTF-8) to stdout and exits with 0 when every command worked
// and every check held, 1 otherwise, 2 for a wrong command line, 3 when the time ran out.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostFiles.h"
#include "host/HostText.h"
#include "host/pads/InteractiveHost.h"
#include "host/script/DialogWatcher.h"
#include "host/script/ScriptRunner.h"

namespace lumisk::host {
namespace {

struct Options {
  std::wstring plugin;
  std::wstring script;
  std::wstring data;
  std::wstring ini;
  std::wstring hostIni;
  std::vector<std::wstring> preload;
  bool demo = false;
  int timeoutSeconds = 120;
};

std::optional<Options> parse(int argc, wchar_t** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring word = argv[i];
    const bool hasValue = i + 1 < argc;
    if (word == L"--plugin" && hasValue) options.plugin = argv[++i];
    else if (word == L"--script" && hasValue) options.script = argv[++i];
    else if (word == L"--data" && hasValue) options.data = argv[++i];
    else if (word == L"--ini" && hasValue) options.ini = argv[++i];
    else if (word == L"--host-ini" && hasValue) options.hostIni = argv[++i];
    else if (word == L"--timeout" && hasValue) options.timeoutSeconds = std::max(1, _wtoi(argv[++i]));
    else if (word == L"--preload" && hasValue) options.preload.push_back(argv[++i]);
    else if (word == L"--demo") options.demo = true;
    else return std::nullopt;
  }
  if (options.plugin.empty()) return std::nullopt;
  if (!options.script.empty() && !options.hostIni.empty()) return std::nullopt;  // scripts never use it
  return options;
}

// Ends a scripted run that hangs: a dialog nobody answers or a plug-in call that never returns.
class Watchdog {
 public:
  Watchdog(Transcript& transcript, int seconds) : transcript_(transcript), seconds_(seconds) {
    finished_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (finished_) thread_.reset(CreateThread(nullptr, 0, &Watchdog::watch, this, 0, nullptr));
  }
  ~Watchdog() {
    if (!thread_) return;
    SetEvent(finished_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  static DWORD WINAPI watch(void* self) {
    auto& dog = *static_cast<Watchdog*>(self);
    if (WaitForSingleObject(dog.finished_.get(), static_cast<DWORD>(dog.seconds_) * 1000) == WAIT_TIMEOUT) {
      dog.transcript_.line("timeout: the script did not finish within " + std::to_string(dog.seconds_) + " s");
      TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
  }

  Transcript& transcript_;
  int seconds_;
  UniqueHandle finished_;
  UniqueHandle thread_;
};

std::vector<std::string> scriptLines(const std::wstring& file) {
  const auto bytes = readBytes(file);
  if (!bytes) throw std::runtime_error("cannot read the script");
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= bytes->size()) {
    std::size_t end = bytes->find('\n', start);
    if (end == std::string::npos) end = bytes->size();
    lines.push_back(bytes->substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

int runScript(const Options& options) {
  Transcript transcript(stdout, currentFolder());
  Watchdog watchdog(transcript, options.timeoutSeconds);
  try {
    PadBoard pads;
    Host host(pads, transcript);
    DialogWatcher watcher(transcript);
    ScriptRunner runner(host, watcher, options.plugin, utf8FromWide(options.data));
    const int failures = runner.run(scriptLines(options.script));
    transcript.utf8Line(failures == 0 ? "script done" : "script done, " + std::to_string(failures) + " failures");
    return failures == 0 ? 0 : 1;
  } catch (const std::exception& e) {
    transcript.line(std::string("error: ") + e.what());
    return 1;
  }
}

struct ArgumentsFree {
  void operator()(wchar_t** argv) const { LocalFree(argv); }
};

}  // namespace
}  // namespace lumisk::host

int main() {
  using namespace lumisk::host;
  // A fault in the plug-in ends the process; no system box waits for a person.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  _setmode(_fileno(stdout), _O_BINARY);
  int argc = 0;
  std::unique_ptr<wchar_t*, ArgumentsFree> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  const auto options = argv ? parse(argc, argv.get()) : std::nullopt;
  if (!options) {
    std::fputs("usage: orbiqa-sim [--preload DLL]... --plugin PATH [--ini PATH] [--host-ini PATH] [--demo | --script FILE [--data FOLDER] [--timeout S]]\n", stderr);
    return 2;
  }
  for (const auto& library : options->preload) {
    // Never freed: the libraries stay for the process's life, as they would in the launcher.
    if (!LoadLibraryW(library.c_str())) {
      std::fprintf(stderr, "orbiqa-sim: cannot load %ls (error %lu)\n", library.c_str(), GetLastError());
      return 2;
    }
  }
  if (!options->script.empty()) return runScript(*options);
  return runInteractive(options->plugin, options->ini, options->hostIni, options->demo);
}
