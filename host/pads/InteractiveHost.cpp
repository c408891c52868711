#include "host/pads/InteractiveHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <vector>

#include "host/Host.h"
#include "host/HostText.h"
#include "host/pads/DemoDriver.h"
#include "host/pads/PadIniFile.h"
#include "host/pads/PadWindow.h"
#include "win32/Cp932.h"
#include "win32/MessageBoxes.h"

namespace lumisk::host {
namespace {

constexpr const char* kHostCaption = "Orbiqa (代役)";
constexpr const char* kHostIniName = "orbiqa-sim.ini";

// Where the plug-in keeps its settings unless told otherwise: beside the plug-in, named like it.
std::wstring defaultIni(const std::wstring& pluginPath) {
  const std::size_t slash = pluginPath.find_last_of(L"\\/:");
  const std::size_t dot = pluginPath.rfind(L'.');
  const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
  return (hasExtension ? pluginPath.substr(0, dot) : pluginPath) + L".ini";
}

// Where the host keeps its pads: `path` as given, or orbiqa-sim.ini in the current folder; empty when
// the path cannot be named in code page 932.
std::string padIniPath(const std::wstring& path) {
  if (!path.empty()) return toCp932(path).value_or(std::string());
  const std::string folder = currentFolder();
  return folder.empty() ? std::string(kHostIniName) : folder + "\\" + kHostIniName;
}

class ClassRegistration {
 public:
  explicit ClassRegistration(HINSTANCE instance) : instance_(instance) { PadWindow::registerClass(instance); }
  ~ClassRegistration() { PadWindow::unregisterClass(instance_); }
  ClassRegistration(const ClassRegistration&) = delete;
  ClassRegistration& operator=(const ClassRegistration&) = delete;

 private:
  HINSTANCE instance_;
};

// Calls OQXEndPlugin when it goes, once the plug-in has begun: whatever ends the run, the plug-in writes
// its designs then.
class EndGuard {
 public:
  explicit EndGuard(Transcript& transcript) : transcript_(transcript) {}
  ~EndGuard() {
    if (plugin_ && plugin_->endPlugin) transcript_.line("OQXEndPlugin -> " + std::to_string(plugin_->endPlugin()));
  }
  EndGuard(const EndGuard&) = delete;
  EndGuard& operator=(const EndGuard&) = delete;
  void begun(PluginModule& plugin) { plugin_ = &plugin; }

 private:
  Transcript& transcript_;
  PluginModule* plugin_ = nullptr;
};

void runPads(Host& host, const std::wstring& pluginPath, const std::wstring& iniPath, bool demo) {
  Transcript& transcript = host.transcript();
  PadBoard& board = host.pads();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const ClassRegistration registration(instance);
  int open = 0;
  auto closed = [&open] {
    if (--open == 0) PostQuitMessage(0);
  };
  std::vector<std::unique_ptr<PadWindow>> windows;
  for (std::size_t i = 0; i < board.pads().size(); ++i) {
    windows.push_back(std::make_unique<PadWindow>(instance, host, i, POINT{0, 0}, closed));
    ++open;
  }
  arrangeWindows(windows);
  host.padChanged = [&windows](const Pad& pad) {
    for (auto& window : windows)
      if (window->handle() && window->pad().id == pad.id) window->refresh();
  };
  host.windowOfPad = [&windows](int32_t id) -> HWND {
    for (auto& window : windows)
      if (window->handle() && window->pad().id == id) return window->handle();
    return nullptr;
  };
  struct Unhook {
    Host& host;
    ~Unhook() {
      host.padChanged = nullptr;
      host.windowOfPad = nullptr;
    }
  } unhook{host};

  host.loadPlugin(pluginPath);
  PluginModule& plugin = *host.plugin();
  for (const std::string& name : plugin.missing()) transcript.line("plug-in lacks " + name);
  if (plugin.getExplanation) {
    std::vector<char> text(4096, '\0');
    plugin.getExplanation(text.data(), static_cast<int32_t>(text.size()));
    text.back() = '\0';
    transcript.line("plug-in " + transcript.quoted(host.pluginName()) + ": " + transcript.quoted(text.data()));
  }
  const std::optional<std::string> ini = toCp932(iniPath.empty() ? defaultIni(pluginPath) : iniPath);
  if (!ini) throw std::runtime_error("INI ファイルのパスをシフトJISで表せません。");
  if (plugin.setInitFile) plugin.setInitFile(ini->c_str());
  transcript.line("INI file " + transcript.quoted(*ini));

  EndGuard endGuard(transcript);
  if (plugin.beginPlugin) {
    const int32_t result = plugin.beginPlugin();
    endGuard.begun(plugin);
    transcript.line("OQXBeginPlugin -> " + std::to_string(result));
  }
  std::unique_ptr<DemoDriver> driver;
  if (demo) driver = std::make_unique<DemoDriver>(host, windows);
  // The plain loop of a host: it knows nothing of the plug-in's windows.
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int runInteractive(const std::wstring& pluginPath, const std::wstring& iniPath, const std::wstring& hostIniPath,
                   bool demo) {
  Transcript transcript(stdout, currentFolder());
  PadBoard board;
  PadIniFile padIni(padIniPath(hostIniPath));
  transcript.line(padIni.load(board));
  Host host(board, transcript);
  int status = 0;
  try {
    runPads(host, pluginPath, iniPath, demo);
  } catch (const std::exception& e) {
    transcript.line(std::string("error: ") + e.what());
    messageBox(nullptr, e.what(), kHostCaption, MB_OK | MB_ICONERROR);
    status = 1;
  }
  transcript.line(padIni.save(board));
  return status;
}

}  // namespace lumisk::host
