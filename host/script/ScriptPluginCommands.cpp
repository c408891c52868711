// Plug-in calls: the exports called as the host calls them, with what they returned and wrote; the
// pads and the faults of the host API they call back into; the time limits and the load/free cycle.
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "host/HostText.h"
#include "host/script/ScriptCommands.h"
#include "host/script/ScriptInput.h"

namespace lumisk::host::commands {
namespace {

// What the host fills a buffer with before the plug-in writes into it.
constexpr unsigned char kFill = 0xCC;

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  double seconds() const {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_{};
};

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The export, or std::runtime_error when the plug-in lacks it.
template <class Function>
Function required(Function function, const char* name) {
  if (!function) throw std::runtime_error(std::string("the plug-in has no ") + name);
  return function;
}

// What a menu item had wrong, as it is noted after its caption.
std::string menuItemFlaws(const MenuItem& item) {
  std::string flaws;
  if (!item.terminated) flaws += " (no NUL)";
  if (!item.reservedZero) flaws += " (reserved bytes not zero)";
  return flaws;
}

void getText(ScriptSession& session, bool explanation, int32_t size) {
  const char* name = explanation ? "OQXGetExplanation" : "OQXGetName";
  const auto function = required(explanation ? session.plugin().getExplanation : session.plugin().getName, name);
  // Room beyond what the plug-in may use shows whether it wrote past the size it was given.
  std::string buffer(static_cast<std::size_t>(std::max(size, 0)) + 64, static_cast<char>(kFill));
  const int32_t result = function(buffer.data(), size);
  std::size_t written = buffer.size();
  while (written > 0 && static_cast<unsigned char>(buffer[written - 1]) == kFill) --written;
  const std::size_t limit = static_cast<std::size_t>(std::max(size, 0));
  const std::size_t nul = buffer.find('\0');
  std::string line = std::string(name) + "(" + std::to_string(size) + ") -> " + std::to_string(result);
  line += ", " + std::to_string(written) + " bytes written";
  if (nul < limit) line += ": " + Transcript::quoted(buffer.substr(0, nul));
  else if (written > 0) line += ", no NUL within the size";
  if (written > limit) line += " (beyond the size)";
  session.transcript().line(line);
}

void timed(ScriptSession& session, bool begin) {
  const char* name = begin ? "OQXBeginPlugin" : "OQXEndPlugin";
  const auto function = required(begin ? session.plugin().beginPlugin : session.plugin().endPlugin, name);
  const Stopwatch watch;
  const int32_t result = function();
  const double took = watch.seconds();
  session.transcript().line(std::string(name) + " -> " + std::to_string(result));
  session.transcript().line(std::string("time ") + name + " " + fixed(took, 6) + " s");
  // The host's menu belongs to a running plug-in: after its end the host shows none.
  if (!begin) session.host().clearMenu();
}

void click(ScriptSession& session, int32_t item, int32_t value) {
  const auto menuClick = required(session.plugin().menuClick, "OQXMenuClick");
  const int32_t result = menuClick(item, value);
  session.transcript().line("OQXMenuClick(" + std::to_string(item) + ", " + std::to_string(value) + ") -> " +
                            std::to_string(result));
}

BOOL CALLBACK countWindow(HWND, LPARAM data) {
  ++*reinterpret_cast<int*>(data);
  return TRUE;
}

int threadWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

// ---- The exports ----------------------------------------------------------------------------------

void load(ScriptSession& session, ScriptArgs) {
  session.host().loadPlugin(session.pluginPath());
  const auto missing = session.plugin().missing();
  std::string line = "plug-in loaded, name " + Transcript::quoted(session.host().pluginName());
  for (const std::string& name : missing) line += ", lacks " + name;
  session.transcript().line(line);
}

void loadRefused(ScriptSession& session, ScriptArgs) {
  try {
    session.host().loadPlugin(session.pluginPath());
  } catch (const std::runtime_error& e) {
    session.transcript().line(std::string("plug-in not loaded: ") + e.what());
    return;
  }
  throw std::runtime_error("the plug-in loaded");
}

void getName(ScriptSession& session, ScriptArgs args) { getText(session, false, number(args[0])); }

void getExplanation(ScriptSession& session, ScriptArgs args) { getText(session, true, number(args[0])); }

void setInitFile(ScriptSession& session, ScriptArgs args) {
  const std::string iniPath = session.text(args[0]);
  const int32_t result = required(session.plugin().setInitFile, "OQXSetInitFile")(iniPath.c_str());
  session.transcript().line("OQXSetInitFile(" + Transcript::quoted(iniPath) + ") -> " + std::to_string(result));
}

void beginPlugin(ScriptSession& session, ScriptArgs) { timed(session, true); }

void endPlugin(ScriptSession& session, ScriptArgs) { timed(session, false); }

void freePlugin(ScriptSession& session, ScriptArgs) {
  session.host().freePlugin();
  session.transcript().line("plug-in freed");
}

void printMenu(ScriptSession& session, ScriptArgs) {
  const auto& items = session.host().menu();
  session.transcript().line("menu: " + std::to_string(items.size()) + " items" +
                            (session.host().menuCut() ? " (cut)" : ""));
  for (std::size_t i = 0; i < items.size(); ++i)
    session.transcript().line("  [" + std::to_string(i) + "] " + Transcript::quoted(items[i].caption) +
                              menuItemFlaws(items[i]));
}

void getMenu(ScriptSession& session, ScriptArgs args) {
  const int32_t n = number(args[0]);
  const auto function = required(session.plugin().getMenu, "OQXGetMenu");
  MenuItem item;
  bool untouched = false;
  const int32_t result = askMenuItem(function, n, item, untouched);
  std::string line = "OQXGetMenu(" + std::to_string(n) + ") -> " + std::to_string(result);
  if (result != 0) {
    line += ' ';  // apart: " " + a temporary string sets off a false -Wrestrict in GCC 12
    line += Transcript::quoted(item.caption) + menuItemFlaws(item);
  } else {
    line += untouched ? ", record untouched" : ", record written";
  }
  session.transcript().line(line);
}

void clickPad(ScriptSession& session, ScriptArgs args) {
  click(session, number(args[0]), session.pad(args[1]).clickValue);
}

void clickValue(ScriptSession& session, ScriptArgs args) { click(session, number(args[0]), number(args[1])); }

// ---- The pads and the faults of the host API ------------------------------------------------------

void setValue(ScriptSession& session, ScriptArgs args) {
  Pad& target = session.pad(args[0]);
  const int k = session.key(args[1]);
  const std::string value = session.text(args[2]);
  if (!PadBoard::acceptable(k, value)) throw std::runtime_error("the pad cannot take " + args[2] + " for " + args[1]);
  target.values[static_cast<std::size_t>(k)] = value;
}

void showPad(ScriptSession& session, ScriptArgs args) {
  const Pad& pad = session.pad(args[0]);
  session.transcript().line("pad " + std::to_string(pad.id) + " " + Transcript::quoted(pad.name));
  for (int k = 0; k < kKeyCount; ++k)
    session.transcript().line("  " + std::string(keyName(k)) + "=" +
                              Transcript::quoted(pad.values[static_cast<std::size_t>(k)]));
}

void refuse(ScriptSession& session, ScriptArgs args) { session.host().pads().setRefused(session.key(args[0]), true); }

void failGet(ScriptSession& session, ScriptArgs args) {
  session.host().pads().setFailedGet(session.key(args[0]), true);
}

void fakeGet(ScriptSession& session, ScriptArgs args) {
  session.host().pads().setFakeGet(session.key(args[0]), session.text(args[1]));
}

void normal(ScriptSession& session, ScriptArgs args) { session.host().pads().clearFaults(session.key(args[0])); }

// ---- Costs and the load/free cycle ----------------------------------------------------------

void menuCost(ScriptSession& session, ScriptArgs args) {
  const int rounds = number(args[0]);
  const auto getMenu = required(session.plugin().getMenu, "OQXGetMenu");
  int32_t items = 0;
  MenuRecord record;
  while (items < Host::kMaxMenuItems && getMenu(items, &record)) ++items;
  const Stopwatch watch;
  for (int r = 0; r < rounds; ++r)
    for (int32_t n = 0; n < items; ++n) getMenu(n, &record);
  const double took = watch.seconds();
  const double calls = static_cast<double>(items) * std::max(rounds, 1);
  session.transcript().line("menu-cost: " + std::to_string(items) + " items, " + std::to_string(rounds) + " rounds");
  session.transcript().line("time OQXGetMenu " + fixed(took / calls * 1e6, 3) + " us per item");
}

// A host that loads the plug-in for a while and frees it again, over and over, in one process: every
// round opens the editor, so its window, window class, hooks and GDI objects are made and must all go.
void cycle(ScriptSession& session, ScriptArgs args) {
  const int rounds = number(args[0]);
  const std::string ini = session.text(args[1]);
  std::vector<std::wstring> classes;
  for (const std::string& name : args.subspan(2)) classes.push_back(wideFromUtf8(name));
  Host& host = session.host();
  Transcript& transcript = session.transcript();
  const int windowsBefore = threadWindowCount();
  int editorsOpened = 0, windowsLeft = 0, classesLeft = 0, guiObjectsLeft = 0, probed = 0, peakLive = 0;
  const Stopwatch watch;
  struct Mute {  // the host's notes would repeat the same lines for every round
    Transcript& transcript;
    ~Mute() { transcript.setMuted(false); }
  } mute{transcript};
  transcript.setMuted(true);
  for (int round = 0; round < rounds; ++round) {
    host.loadPlugin(session.pluginPath());
    PluginModule& p = session.plugin();
    if (!p.setInitFile || !p.beginPlugin || !p.endPlugin || !p.menuClick)
      throw std::runtime_error("the plug-in lacks an export");
    const HMODULE module = p.handle();
    p.setInitFile(ini.c_str());
    if (p.beginPlugin() == 0) throw std::runtime_error("OQXBeginPlugin failed in round " + std::to_string(round + 1));
    // The editor is the last item of the plug-in menu.
    const auto itemCount = static_cast<int32_t>(host.menu().size());
    if (itemCount < 2) throw std::runtime_error("no plug-in menu in round " + std::to_string(round + 1));
    p.menuClick(itemCount - 1, host.pads().pads().front().clickValue);
    runMessageLoop(10);
    if (threadWindowCount() > windowsBefore) ++editorsOpened;
    if (p.liveGuiObjects) peakLive = std::max(peakLive, p.liveGuiObjects());
    p.endPlugin();
    host.clearMenu();
    runMessageLoop(10);
    if (p.liveGuiObjects) {
      ++probed;
      guiObjectsLeft += p.liveGuiObjects();
    }
    host.freePlugin();
    windowsLeft += std::max(threadWindowCount() - windowsBefore, 0);
    for (const std::wstring& name : classes) {
      WNDCLASSEXW info{};
      info.cbSize = sizeof info;
      if (GetClassInfoExW(module, name.c_str(), &info)) ++classesLeft;
    }
  }
  transcript.setMuted(false);
  transcript.line("cycles: " + std::to_string(rounds) + ", editor opened " + std::to_string(editorsOpened) +
                  " times, windows left " + std::to_string(windowsLeft) + ", window classes left " +
                  std::to_string(classesLeft));
  if (probed > 0)
    transcript.line("GUI objects: " + (peakLive > 0 ? std::string("made while open") : std::string("none made")) +
                    ", left after end " + std::to_string(guiObjectsLeft) + " in " + std::to_string(probed) +
                    " rounds");
  transcript.line("time cycle " + fixed(watch.seconds(), 3) + " s");
  if (editorsOpened != rounds || windowsLeft != 0 || classesLeft != 0 || guiObjectsLeft != 0)
    session.fail("the plug-in left something behind");
}

}  // namespace lumisk::host::commands
