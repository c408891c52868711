#include "host/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "host/HostFiles.h"
#include "host/HostText.h"
#include "host/ScriptInput.h"
#include "win32/Cp932.h"

namespace lumisk::host {
namespace {

constexpr unsigned char kFill = 0xCC;

std::vector<std::string> splitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) throw std::runtime_error("unterminated quote");
      words.emplace_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      const std::size_t end = std::min(line.find_first_of(" \t", i), line.size());
      words.emplace_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

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

void need(const std::vector<std::string>& words, std::size_t count) {
  if (words.size() != count + 1)
    throw std::runtime_error(words[0] + " takes " + std::to_string(count) + " argument" + (count == 1 ? "" : "s"));
}

// What `file` and `golden` write: each line in code page 932, ending in CR LF.
std::string cp932Lines(const std::vector<std::string>& utf8Lines) {
  std::string bytes;
  for (const std::string& line : utf8Lines) {
    auto converted = cp932FromUtf8(line);
    if (!converted) throw std::runtime_error("no code page 932 form: " + line);
    bytes += *converted;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace

ScriptRunner::ScriptRunner(Host& host, DialogWatcher& watcher, std::wstring pluginPath, std::string dataFolder)
    : session_(host, watcher, std::move(pluginPath), std::move(dataFolder)) {}

int ScriptRunner::run(const std::vector<std::string>& lines) {
  for (std::size_t next = 0; next < lines.size();) {
    std::string line = lines[next++];
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    session_.transcript().utf8Line("> " + line.substr(start));
    bool answering = false;
    try {
      const Words words = splitWords(line);
      answering = words[0] == "answer";
      execute(words, lines, next);
    } catch (const std::exception& e) {
      session_.fail(std::string("error: ") + e.what());
    }
    if (!answering) {
      if (const std::size_t unused = session_.watcher().dropUnused())
        session_.fail("answers not used: " + std::to_string(unused));
      session_.addFailures(session_.watcher().takeUnexpected());
    }
  }
  return session_.failures();
}

void ScriptRunner::execute(const Words& words, const std::vector<std::string>& lines, std::size_t& next) {
  const std::string& c = words[0];
  auto require = [&](auto function, const char* name) {
    if (!function) throw std::runtime_error(std::string("the plug-in has no ") + name);
    return function;
  };
  if (c == "load") {
    need(words, 0);
    session_.host().loadPlugin(session_.pluginPath());
    const auto missing = session_.plugin().missing();
    std::string line = "plug-in loaded, name " + session_.transcript().quoted(session_.host().pluginName());
    for (const std::string& name : missing) line += ", lacks " + name;
    session_.transcript().line(line);
  } else if (c == "name" || c == "explanation") {
    need(words, 1);
    getText(c == "explanation", number(words[1]));
  } else if (c == "ini") {
    need(words, 1);
    const std::string iniPath = session_.text(words[1]);
    const int32_t result = require(session_.plugin().setInitFile, "OQXSetInitFile")(iniPath.c_str());
    session_.transcript().line("OQXSetInitFile(" + session_.transcript().quoted(iniPath) + ") -> " + std::to_string(result));
  } else if (c == "begin" || c == "end") {
    need(words, 0);
    timed(c == "begin");
  } else if (c == "free") {
    need(words, 0);
    session_.host().freePlugin();
    session_.transcript().line("plug-in freed");
  } else if (c == "menu") {
    need(words, 0);
    printMenu();
  } else if (c == "get-menu") {
    need(words, 1);
    getMenu(number(words[1]));
  } else if (c == "click") {
    need(words, 2);
    click(number(words[1]), session_.pad(words[2]).clickValue);
  } else if (c == "click-value") {
    need(words, 2);
    click(number(words[1]), number(words[2]));
  } else if (c == "set") {
    need(words, 3);
    Pad& target = session_.pad(words[1]);
    const int k = session_.key(words[2]);
    const std::string value = session_.text(words[3]);
    if (!PadBoard::acceptable(k, value)) throw std::runtime_error("the pad cannot take " + words[3] + " for " + words[2]);
    target.values[static_cast<std::size_t>(k)] = value;
  } else if (c == "show") {
    need(words, 1);
    showPad(session_.pad(words[1]));
  } else if (c == "refuse") {
    need(words, 1);
    session_.host().pads().setRefused(session_.key(words[1]), true);
  } else if (c == "fail-get") {
    need(words, 1);
    session_.host().pads().setFailedGet(session_.key(words[1]), true);
  } else if (c == "fake-get") {
    need(words, 2);
    session_.host().pads().setFakeGet(session_.key(words[1]), session_.text(words[2]));
  } else if (c == "normal") {
    need(words, 1);
    session_.host().pads().clearFaults(session_.key(words[1]));
  } else if (c == "answer") {
    queueAnswer(words);
  } else if (c == "windows") {
    need(words, 0);
    listWindows();
  } else if (c == "press") {
    need(words, 2);
    press(words[1], words[2]);
  } else if (c == "keys") {
    if (words.size() < 2) throw std::runtime_error("keys takes at least one key");
    keys(words);
  } else if (c == "list") {
    need(words, 2);
    printList(words[1], words[2]);
  } else if (c == "drag") {
    need(words, 4);
    drag(words);
  } else if (c == "pump") {
    need(words, 1);
    runMessageLoop(number(words[1]));
  } else if (c == "mkdir") {
    need(words, 1);
    if (!CreateDirectoryW(session_.path(words[1]).c_str(), nullptr)) session_.fail("cannot make the folder");
  } else if (c == "copy") {
    need(words, 2);
    if (!CopyFileW(session_.path(words[1]).c_str(), session_.path(words[2]).c_str(), FALSE)) session_.fail("cannot copy");
  } else if (c == "delete") {
    need(words, 1);
    if (!DeleteFileW(session_.path(words[1]).c_str())) session_.fail("cannot delete");
  } else if (c == "exists") {
    need(words, 1);
    session_.transcript().line(GetFileAttributesW(session_.path(words[1]).c_str()) == INVALID_FILE_ATTRIBUTES ? "absent" : "exists");
  } else if (c == "lock") {
    need(words, 1);
    lock(words[1]);
  } else if (c == "unlock") {
    need(words, 1);
    unlock(words[1]);
  } else if (c == "file") {
    need(words, 1);
    writeBlock(words[1], lines, next);
  } else if (c == "gen-ini") {
    need(words, 2);
    generateIni(words[1], number(words[2]));
  } else if (c == "compare") {
    need(words, 2);
    compare(words[1], words[2]);
  } else if (c == "golden") {
    need(words, 2);
    golden(words[1], words[2]);
  } else if (c == "print") {
    need(words, 1);
    print(words[1]);
  } else if (c == "check-time") {
    need(words, 2);
    checkTime(words[1], seconds(words[2]));
  } else if (c == "cycle") {
    if (words.size() < 3) throw std::runtime_error("cycle takes ROUNDS INI CLASS...");
    cycle(words);
  } else if (c == "menu-cost") {
    need(words, 1);
    menuCost(number(words[1]));
  } else {
    throw std::runtime_error("unknown command " + c);
  }
}

void ScriptRunner::getText(bool explanation, int32_t size) {
  auto function = explanation ? session_.plugin().getExplanation : session_.plugin().getName;
  const char* name = explanation ? "OQXGetExplanation" : "OQXGetName";
  if (!function) throw std::runtime_error(std::string("the plug-in has no ") + name);
  // Room beyond what the plug-in may use shows whether it wrote past the size it was given.
  std::string buffer(static_cast<std::size_t>(std::max(size, 0)) + 64, static_cast<char>(kFill));
  const int32_t result = function(buffer.data(), size);
  std::size_t written = buffer.size();
  while (written > 0 && static_cast<unsigned char>(buffer[written - 1]) == kFill) --written;
  const std::size_t limit = static_cast<std::size_t>(std::max(size, 0));
  const std::size_t nul = buffer.find('\0');
  std::string line = std::string(name) + "(" + std::to_string(size) + ") -> " + std::to_string(result);
  line += ", " + std::to_string(written) + " bytes written";
  if (nul < limit) line += ": " + session_.transcript().quoted(buffer.substr(0, nul));
  else if (written > 0) line += ", no NUL within the size";
  if (written > limit) line += " (beyond the size)";
  session_.transcript().line(line);
}

void ScriptRunner::timed(bool begin) {
  auto function = begin ? session_.plugin().beginPlugin : session_.plugin().endPlugin;
  const char* name = begin ? "OQXBeginPlugin" : "OQXEndPlugin";
  if (!function) throw std::runtime_error(std::string("the plug-in has no ") + name);
  const Stopwatch watch;
  const int32_t result = function();
  const double took = watch.seconds();
  session_.setLastTime(begin, took);
  session_.transcript().line(std::string(name) + " -> " + std::to_string(result));
  session_.transcript().line(std::string("time ") + name + " " + fixed(took, 6) + " s");
  // The host's menu belongs to a running plug-in: after its end the host shows none.
  if (!begin) session_.host().clearMenu();
}

void ScriptRunner::printMenu() {
  const auto& items = session_.host().menu();
  session_.transcript().line("menu: " + std::to_string(items.size()) + " items" + (session_.host().menuCut() ? " (cut)" : ""));
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::string line = "  [" + std::to_string(i) + "] " + session_.transcript().quoted(items[i].caption);
    if (!items[i].terminated) line += " (no NUL)";
    if (!items[i].reservedZero) line += " (reserved bytes not zero)";
    session_.transcript().line(line);
  }
}

void ScriptRunner::getMenu(int32_t n) {
  auto getMenu = session_.plugin().getMenu;
  if (!getMenu) throw std::runtime_error("the plug-in has no OQXGetMenu");
  MenuItem item;
  bool untouched = false;
  const int32_t result = askMenuItem(getMenu, n, item, untouched);
  std::string line = "OQXGetMenu(" + std::to_string(n) + ") -> " + std::to_string(result);
  if (result != 0) {
    line += " " + session_.transcript().quoted(item.caption);
    if (!item.terminated) line += " (no NUL)";
    if (!item.reservedZero) line += " (reserved bytes not zero)";
  } else {
    line += untouched ? ", record untouched" : ", record written";
  }
  session_.transcript().line(line);
}

void ScriptRunner::click(int32_t item, int32_t value) {
  auto menuClick = session_.plugin().menuClick;
  if (!menuClick) throw std::runtime_error("the plug-in has no OQXMenuClick");
  const int32_t result = menuClick(item, value);
  session_.transcript().line("OQXMenuClick(" + std::to_string(item) + ", " + std::to_string(value) + ") -> " + std::to_string(result));
}

void ScriptRunner::showPad(const Pad& pad) {
  session_.transcript().line("pad " + std::to_string(pad.id) + " " + session_.transcript().quoted(pad.name));
  for (int k = 0; k < kKeyCount; ++k)
    session_.transcript().line("  " + std::string(keyName(k)) + "=" + session_.transcript().quoted(pad.values[static_cast<std::size_t>(k)]));
}

void ScriptRunner::queueAnswer(const Words& words) {
  if (words.size() < 2) throw std::runtime_error("answer what?");
  DialogAnswer answer;
  const std::string& kind = words[1];
  if (kind == "text") {
    need(words, 2);
    answer.kind = DialogAnswer::Kind::Text;
    answer.text = wideFromUtf8(session_.expanded(words[2]));
  } else {
    need(words, 1);
    if (kind == "ok") answer.kind = DialogAnswer::Kind::Ok;
    else if (kind == "cancel") answer.kind = DialogAnswer::Kind::Cancel;
    else if (kind == "close") answer.kind = DialogAnswer::Kind::Close;
    else throw std::runtime_error("no answer " + kind);
  }
  session_.watcher().queue(std::move(answer));
}

void ScriptRunner::listWindows() {
  std::vector<std::string> captions;
  for (HWND window : visibleTopLevelWindows())
    captions.push_back(toCp932(windowText(window)).value_or("<not code page 932>"));
  std::sort(captions.begin(), captions.end());
  session_.transcript().line("windows: " + std::to_string(captions.size()));
  for (const std::string& caption : captions) session_.transcript().line("  " + session_.transcript().quoted(caption));
}

HWND ScriptRunner::window(const std::string& caption) {
  const HWND found = findTopLevelWindow(wideFromUtf8(caption));
  if (!found) session_.fail("no window " + session_.text(caption));
  return found;
}

void ScriptRunner::press(const std::string& caption, const std::string& label) {
  const HWND top = window(caption);
  if (!top) return;
  const std::wstring wantedLabel = wideFromUtf8(label);
  for (HWND child : childWindowsOf(top)) {
    wchar_t kind[16] = {};
    GetClassNameW(child, kind, 16);
    if (lstrcmpiW(kind, L"Button") != 0 || windowText(child) != wantedLabel) continue;
    const int id = GetDlgCtrlID(child);
    PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(child));
    // As with a key, the click is taken before the script goes on, and a question it asks is answered.
    runMessageLoop(kInputPauseMs);
    return;
  }
  session_.fail("no button " + session_.text(label) + " in a window " + session_.text(caption));
}

// Each key is given its own turn of the loop: a key that opens a dialog returns only when the dialog
// watcher has answered it.
void ScriptRunner::keys(const Words& words) {
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (!sendKey(words[i])) throw std::runtime_error("no such key: " + words[i]);
    takeInput();
  }
}

HWND ScriptRunner::listBox(const std::string& caption, const std::string& number) {
  const HWND top = window(caption);
  if (!top) return nullptr;
  const std::vector<HWND> lists = listBoxesOf(top);
  const int32_t n = lumisk::host::number(number);
  if (n < 1 || static_cast<std::size_t>(n) > lists.size()) {
    session_.fail("no list box " + number + " in a window " + session_.text(caption));
    return nullptr;
  }
  return lists[static_cast<std::size_t>(n - 1)];
}

void ScriptRunner::printList(const std::string& caption, const std::string& number) {
  const HWND list = listBox(caption, number);
  if (!list) return;
  const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
  session_.transcript().line("list " + number + ": " + std::to_string(rows) + " rows");
  for (LRESULT row = 0; row < rows; ++row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    std::wstring rowText(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(rowText.data()));
    rowText.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    const bool selected = SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0;
    session_.transcript().line(std::string(selected ? "  * " : "    ") + session_.transcript().quoted(toCp932(rowText).value_or("<not code page 932>")));
  }
}

void ScriptRunner::drag(const Words& words) {
  const HWND list = listBox(words[1], words[2]);
  if (!list) return;
  auto centre = [&](const std::string& word) {
    RECT row{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(lumisk::host::number(word)), reinterpret_cast<LPARAM>(&row)) == LB_ERR)
      throw std::runtime_error("no row " + word);
    POINT point{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &point);
    return point;
  };
  sendDrag(centre(words[3]), centre(words[4]));
  takeInput();
}

void ScriptRunner::writeBlock(const std::string& target, const std::vector<std::string>& lines, std::size_t& next) {
  std::vector<std::string> content;
  for (;;) {
    if (next >= lines.size()) throw std::runtime_error("file without end-file");
    std::string line = lines[next++];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "end-file") break;
    content.push_back(session_.expanded(line));
  }
  if (!writeBytes(session_.path(target), cp932Lines(content))) session_.fail("cannot write the file");
}

// Laid out exactly as the plug-in writes its INI file, so that a start and an end give it back unchanged.
// The values vary from design to design; -1 (unset) is never among them: unset values have no line.
void ScriptRunner::generateIni(const std::string& target, int count) {
  std::string ini =
      "[Main]\r\nLeft=10\r\nTop=20\r\nWidth=500\r\nHeight=400\r\nCol0Width=140\r\nCol1Width=80\r\nHintHelp=1\r\n"
      "ImportDir=C:\\デザイン\\\r\nExportDir=C:\\デザイン\\出力\\\r\n\r\n";
  for (int i = 0; i < count; ++i) {
    ini += "[" + std::to_string(i) + "]\r\nName=デザイン" + std::to_string(i + 1) + "\r\n";
    for (int k = 0; k < kIntKeyCount; ++k) {
      if ((i + k) % 7 == 0) continue;
      int32_t value = (i * 37 + k * 101) % 100000;
      if ((i + k) % 11 == 0) value = -value - 2;
      ini += std::string(keyName(k)) + "=" + std::to_string(value) + "\r\n";
    }
    if (i % 3 == 1) ini += "WallPaper=\r\n";
    if (i % 3 == 2) ini += "WallPaper=C:\\壁紙\\表" + std::to_string(i) + ".bmp\r\n";
    ini += "\r\n";
  }
  if (!writeBytes(session_.path(target), ini)) session_.fail("cannot write the file");
}

void ScriptRunner::compare(const std::string& a, const std::string& b) {
  const auto first = readBytes(session_.path(a));
  const auto second = readBytes(session_.path(b));
  if (!first || !second) return session_.fail(std::string("cannot read ") + (first ? b : a));
  if (*first == *second) {
    session_.transcript().line("same");
    return;
  }
  const auto [mismatch, other] = std::mismatch(first->begin(), first->end(), second->begin(), second->end());
  session_.fail("differ: " + std::to_string(first->size()) + " and " + std::to_string(second->size()) +
       " bytes, first difference at byte " + std::to_string(mismatch - first->begin()));
}

void ScriptRunner::golden(const std::string& file, const std::string& templateFile) {
  const auto actual = readBytes(session_.path(file));
  const auto pattern = readBytes(session_.path(templateFile));
  if (!actual || !pattern) return session_.fail(std::string("cannot read ") + (actual ? templateFile : file));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < pattern->size()) {
    std::size_t end = pattern->find('\n', start);
    if (end == std::string::npos) end = pattern->size();
    std::string line = pattern->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(session_.expanded(line));
    start = end + 1;
  }
  const std::string expected = cp932Lines(lines);
  if (expected == *actual) {
    session_.transcript().line("as expected");
    return;
  }
  // The first line that differs, both ways, is what a person needs to see.
  std::size_t at = 0;
  while (at < expected.size() && at < actual->size() && expected[at] == (*actual)[at]) ++at;
  const std::size_t lineStart = std::min(expected.rfind('\n', at == 0 ? 0 : at - 1) + 1, at);
  auto lineAt = [lineStart](const std::string& bytes) {
    if (lineStart >= bytes.size()) return std::string("<end of file>");
    return bytes.substr(lineStart, bytes.find('\n', lineStart) - lineStart);
  };
  session_.fail("differs at byte " + std::to_string(at) + ": expected " + session_.transcript().quoted(lineAt(expected)) + ", found " +
       session_.transcript().quoted(lineAt(*actual)));
}

void ScriptRunner::print(const std::string& file) {
  const auto bytes = readBytes(session_.path(file));
  if (!bytes) return session_.fail("cannot read " + session_.text(file));
  session_.transcript().line("file:");
  std::size_t start = 0;
  while (start < bytes->size()) {
    const std::size_t end = bytes->find("\r\n", start);
    if (end == std::string::npos) {
      session_.transcript().line("  | " + bytes->substr(start) + " (no CR LF)");
      break;
    }
    session_.transcript().line("  | " + bytes->substr(start, end - start));
    start = end + 2;
  }
}

void ScriptRunner::lock(const std::string& file) {
  const std::wstring name = session_.path(file);
  // No sharing at all: nobody else may read or write the file while it is held.
  UniqueHandle handle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle.get() == INVALID_HANDLE_VALUE) return session_.fail("cannot lock " + session_.text(file));
  session_.hold(name, std::move(handle));
}

void ScriptRunner::unlock(const std::string& file) {
  if (!session_.release(session_.path(file))) session_.fail("not locked: " + session_.text(file));
}

void ScriptRunner::checkTime(const std::string& which, double limit) {
  if (which != "begin" && which != "end") throw std::runtime_error("check-time begin or end");
  const double took = session_.lastTime(which == "begin");
  if (took < 0) throw std::runtime_error("nothing measured yet");
  const std::string limitText = fixed(limit, 3) + " s";
  if (took < limit) session_.transcript().line(which + " took less than " + limitText);
  else session_.fail(which + " took " + fixed(took, 3) + " s, not less than " + limitText);
}

void ScriptRunner::menuCost(int rounds) {
  auto getMenu = session_.plugin().getMenu;
  if (!getMenu) throw std::runtime_error("the plug-in has no OQXGetMenu");
  int32_t items = 0;
  MenuRecord record;
  while (items < Host::kMaxMenuItems && getMenu(items, &record)) ++items;
  const Stopwatch watch;
  for (int r = 0; r < rounds; ++r)
    for (int32_t n = 0; n < items; ++n) getMenu(n, &record);
  const double took = watch.seconds();
  const double calls = static_cast<double>(items) * std::max(rounds, 1);
  session_.transcript().line("menu-cost: " + std::to_string(items) + " items, " + std::to_string(rounds) + " rounds");
  session_.transcript().line("time OQXGetMenu " + fixed(took / calls * 1e6, 3) + " us per item");
}

namespace {

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

// A host that loads the plug-in for a while and frees it again, over and over, in one process: every
// round opens the editor, so its window, window class, hooks and GDI objects are made and must all go.
void ScriptRunner::cycle(const Words& words) {
  const int rounds = number(words[1]);
  const std::string ini = session_.text(words[2]);
  std::vector<std::wstring> classes;
  for (std::size_t i = 3; i < words.size(); ++i) classes.push_back(wideFromUtf8(words[i]));
  const int windowsBefore = threadWindowCount();
  int editorsOpened = 0, windowsLeft = 0, classesLeft = 0, guiObjectsLeft = 0, probed = 0, peakLive = 0;
  const Stopwatch watch;
  struct Mute {  // the host's notes would repeat the same lines for every round
    Transcript& transcript;
    ~Mute() { transcript.setMuted(false); }
  } mute{session_.transcript()};
  session_.transcript().setMuted(true);
  for (int round = 0; round < rounds; ++round) {
    session_.host().loadPlugin(session_.pluginPath());
    PluginModule& p = session_.plugin();
    if (!p.setInitFile || !p.beginPlugin || !p.endPlugin || !p.menuClick)
      throw std::runtime_error("the plug-in lacks an export");
    const HMODULE module = p.handle();
    p.setInitFile(ini.c_str());
    if (p.beginPlugin() == 0) throw std::runtime_error("OQXBeginPlugin failed in round " + std::to_string(round + 1));
    // The editor is the last item of the plug-in menu.
    const auto itemCount = static_cast<int32_t>(session_.host().menu().size());
    if (itemCount < 2) throw std::runtime_error("no plug-in menu in round " + std::to_string(round + 1));
    p.menuClick(itemCount - 1, session_.host().pads().pads().front().clickValue);
    runMessageLoop(10);
    if (threadWindowCount() > windowsBefore) ++editorsOpened;
    if (p.liveGuiObjects) peakLive = std::max(peakLive, p.liveGuiObjects());
    p.endPlugin();
    session_.host().clearMenu();
    runMessageLoop(10);
    if (p.liveGuiObjects) {
      ++probed;
      guiObjectsLeft += p.liveGuiObjects();
    }
    session_.host().freePlugin();
    windowsLeft += std::max(threadWindowCount() - windowsBefore, 0);
    for (const std::wstring& name : classes) {
      WNDCLASSEXW info{};
      info.cbSize = sizeof info;
      if (GetClassInfoExW(module, name.c_str(), &info)) ++classesLeft;
    }
  }
  session_.transcript().setMuted(false);
  session_.transcript().line("cycles: " + std::to_string(rounds) + ", editor opened " + std::to_string(editorsOpened) +
                   " times, windows left " + std::to_string(windowsLeft) + ", window classes left " +
                   std::to_string(classesLeft));
  if (probed > 0)
    session_.transcript().line("GUI objects: " + (peakLive > 0 ? std::string("made while open") : std::string("none made")) +
                     ", left after end " + std::to_string(guiObjectsLeft) + " in " + std::to_string(probed) +
                     " rounds");
  session_.transcript().line("time cycle " + fixed(watch.seconds(), 3) + " s");
  if (editorsOpened != rounds || windowsLeft != 0 || classesLeft != 0 || guiObjectsLeft != 0)
    session_.fail("the plug-in left something behind");
}

}  // namespace lumisk::host
