// Input: the answers for the dialogs to come, and what a person at the screen sees and does — the
// thread's windows and the rows of their list boxes, buttons pressed, keys typed, rows dragged — with
// the host's own message loop running in between.
#include <algorithm>
#include <stdexcept>

#include "host/HostText.h"
#include "host/script/ScriptCommands.h"
#include "host/script/ScriptInput.h"
#include "win32/Ui.h"

namespace lumisk::host::commands {
namespace {

// The visible top-level window with that caption; a failure, and nullptr, when there is none.
HWND window(ScriptSession& session, const std::string& caption) {
  const HWND found = findTopLevelWindow(wideFromUtf8(caption));
  if (!found) session.fail("no window " + session.text(caption));
  return found;
}

// List box `number` (from 1) of that window; a failure, and nullptr, when there is none.
HWND listBox(ScriptSession& session, const std::string& caption, const std::string& number) {
  const HWND top = window(session, caption);
  if (!top) return nullptr;
  const std::vector<HWND> lists = childWindowsOf(top, L"ListBox");
  const int32_t n = lumisk::host::number(number);
  if (n < 1 || static_cast<std::size_t>(n) > lists.size()) {
    session.fail("no list box " + number + " in a window " + session.text(caption));
    return nullptr;
  }
  return lists[static_cast<std::size_t>(n - 1)];
}

}  // namespace

void answer(ScriptSession& session, ScriptArgs args) {
  DialogAnswer answer;
  const std::string& kind = args[0];
  // How many words follow depends on the kind: only a text has one of its own.
  if (kind == "text") {
    needArguments("answer", args, 2);
    answer.kind = DialogAnswer::Kind::Text;
    answer.text = wideFromUtf8(session.expanded(args[1]));
  } else {
    needArguments("answer", args, 1);
    if (kind == "ok") answer.kind = DialogAnswer::Kind::Ok;
    else if (kind == "cancel") answer.kind = DialogAnswer::Kind::Cancel;
    else if (kind == "close") answer.kind = DialogAnswer::Kind::Close;
    else throw std::runtime_error("no answer " + kind);
  }
  session.watcher().queue(std::move(answer));
}

void listWindows(ScriptSession& session, ScriptArgs) {
  std::vector<std::string> captions;
  for (HWND top : visibleTopLevelWindows()) captions.push_back(cp932OrMark(windowText(top)));
  std::sort(captions.begin(), captions.end());
  session.transcript().line("windows: " + std::to_string(captions.size()));
  for (const std::string& caption : captions) session.transcript().line("  " + Transcript::quoted(caption));
}

void press(ScriptSession& session, ScriptArgs args) {
  const std::string& caption = args[0];
  const std::string& label = args[1];
  const HWND top = window(session, caption);
  if (!top) return;
  const std::wstring wantedLabel = wideFromUtf8(label);
  for (HWND child : childWindowsOf(top, L"Button")) {
    if (windowText(child) != wantedLabel) continue;
    const int id = GetDlgCtrlID(child);
    PostMessageW(GetParent(child), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(child));
    // As with a key, the click is taken before the script goes on, and a question it asks is answered.
    runMessageLoop(kInputPauseMs);
    return;
  }
  session.fail("no button " + session.text(label) + " in a window " + session.text(caption));
}

// Each key is given its own turn of the loop: a key that opens a dialog returns only when the dialog
// watcher has answered it.
void keys(ScriptSession&, ScriptArgs args) {
  for (const std::string& key : args) {
    if (!sendKey(key)) throw std::runtime_error("no such key: " + key);
    takeInput();
  }
}

void printList(ScriptSession& session, ScriptArgs args) {
  const std::string& number = args[1];
  const HWND list = listBox(session, args[0], number);
  if (!list) return;
  const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
  session.transcript().line("list " + number + ": " + std::to_string(rows) + " rows");
  for (LRESULT row = 0; row < rows; ++row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    std::wstring rowText(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(rowText.data()));
    rowText.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    const bool selected = SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0;
    session.transcript().line(std::string(selected ? "  * " : "    ") + Transcript::quoted(cp932OrMark(rowText)));
  }
}

void drag(ScriptSession& session, ScriptArgs args) {
  const HWND list = listBox(session, args[0], args[1]);
  if (!list) return;
  auto centre = [&](const std::string& word) {
    RECT row{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(number(word)), reinterpret_cast<LPARAM>(&row)) ==
        LB_ERR)
      throw std::runtime_error("no row " + word);
    POINT point{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &point);
    return point;
  };
  sendDrag(centre(args[2]), centre(args[3]));
  takeInput();
}

void pump(ScriptSession&, ScriptArgs args) { runMessageLoop(number(args[0])); }

// The lines up to "end-while" run once the dialog is there, the way calls from the rest of the launcher
// reach the plug-in while one of its prompts is open.
void whileOpen(ScriptSession& session, ScriptArgs) {
  std::vector<std::string> block;
  for (;;) {
    std::optional<std::string> line = session.takeLine();
    if (!line) throw std::runtime_error("while-open without end-while");
    while (!line->empty() && (line->back() == '\r' || line->back() == ' ')) line->pop_back();
    const std::size_t start = line->find_first_not_of(" \t");
    if (start != std::string::npos && line->compare(start, std::string::npos, "end-while") == 0) break;
    block.push_back(std::move(*line));
  }
  session.watcher().whileOpen([&session, block = std::move(block)] { session.runBlock(block); });
}

void openPadWindows(ScriptSession& session, ScriptArgs) { session.openPadWindows(); }

void padsEnabled(ScriptSession& session, ScriptArgs) {
  const auto& windows = session.padWindows();
  if (windows.empty()) throw std::runtime_error("no pad windows");
  for (const auto& window : windows)
    session.transcript().line("pad " + std::to_string(window->pad().id) + " " + Transcript::quoted(window->pad().name) +
                              (IsWindowEnabled(window->handle()) ? " enabled" : " disabled"));
}

}  // namespace lumisk::host::commands
