#include "host/script/ScriptRunner.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "host/script/ScriptCommands.h"

namespace lumisk::host {
namespace {

// How many words follow a command's name: exactly `count`, or with `orMore` at least `count`. A wrong
// count is an error before the command runs: "NAME takes COUNT argument(s)", or `tooFew` for a
// command that takes a list.
struct Arity {
  std::size_t count;
  bool orMore = false;
  const char* tooFew = nullptr;
};

constexpr Arity exactly(std::size_t count) { return {count}; }
constexpr Arity atLeast(std::size_t count, const char* tooFew) { return {count, true, tooFew}; }

struct Command {
  std::string_view name;
  Arity arity;
  commands::Handler handler;
  // The answers it queues are for dialogs that later commands open: unused ones are not counted yet.
  bool queuesAnswers = false;
};

// Every command the host runs; ScriptRunner.h says what each does.
constexpr Command kCommands[] = {
    // Plug-in calls
    {"load", exactly(0), &commands::load},
    {"load-refused", exactly(0), &commands::loadRefused},
    {"name", exactly(1), &commands::getName},
    {"explanation", exactly(1), &commands::getExplanation},
    {"ini", exactly(1), &commands::setInitFile},
    {"begin", exactly(0), &commands::beginPlugin},
    {"end", exactly(0), &commands::endPlugin},
    {"free", exactly(0), &commands::freePlugin},
    {"menu", exactly(0), &commands::printMenu},
    {"get-menu", exactly(1), &commands::getMenu},
    {"click", exactly(2), &commands::clickPad},
    {"click-value", exactly(2), &commands::clickValue},
    {"set", exactly(3), &commands::setValue},
    {"show", exactly(1), &commands::showPad},
    {"refuse", exactly(1), &commands::refuse},
    {"fail-get", exactly(1), &commands::failGet},
    {"fake-get", exactly(2), &commands::fakeGet},
    {"normal", exactly(1), &commands::normal},
    {"menu-cost", exactly(1), &commands::menuCost},
    {"cycle", atLeast(2, "cycle takes ROUNDS INI CLASS..."), &commands::cycle},
    // Input
    {"answer", atLeast(1, "answer what?"), &commands::answer, true},
    {"windows", exactly(0), &commands::listWindows},
    {"press", exactly(2), &commands::press},
    {"keys", atLeast(1, "keys takes at least one key"), &commands::keys},
    {"list", exactly(2), &commands::printList},
    {"drag", exactly(4), &commands::drag},
    {"pump", exactly(1), &commands::pump},
    {"while-open", exactly(0), &commands::whileOpen, true},
    {"pad-windows", exactly(0), &commands::openPadWindows},
    {"pads-enabled", exactly(0), &commands::padsEnabled},
    // Files and transcripts
    {"mkdir", exactly(1), &commands::makeFolder},
    {"copy", exactly(2), &commands::copyFile},
    {"delete", exactly(1), &commands::deleteFile},
    {"exists", exactly(1), &commands::exists},
    {"lock", exactly(1), &commands::lock},
    {"hold", exactly(2), &commands::holdFile},
    {"unlock", exactly(1), &commands::unlock},
    {"file", exactly(1), &commands::writeFile},
    {"gen-ini", exactly(2), &commands::generateIni},
    {"compare", exactly(2), &commands::compare},
    {"golden", exactly(2), &commands::golden},
    {"print", exactly(1), &commands::print},
};

const Command& command(const std::string& name) {
  const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [&](const Command& command) { return command.name == name; });
  if (found == std::end(kCommands)) throw std::runtime_error("unknown command " + name);
  return *found;
}

void checkArity(const Command& command, ScriptArgs args) {
  if (!command.arity.orMore) needArguments(command.name, args, command.arity.count);
  else if (args.size() < command.arity.count) throw std::runtime_error(command.arity.tooFew);
}

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

}  // namespace

ScriptRunner::ScriptRunner(Host& host, DialogWatcher& watcher, std::wstring pluginPath, std::string dataFolder)
    : session_(host, watcher, std::move(pluginPath), std::move(dataFolder)) {
  session_.setBlockRunner([this](const std::vector<std::string>& lines) { runLines(lines, true); });
}

int ScriptRunner::run(const std::vector<std::string>& lines) {
  runLines(lines, false);
  return session_.failures();
}

void ScriptRunner::runLines(const std::vector<std::string>& lines, bool block) {
  const ScriptSession::LinePosition outer = session_.startScript(lines);
  while (std::optional<std::string> next = session_.takeLine()) {
    std::string line = std::move(*next);
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    session_.transcript().utf8Line("> " + line.substr(start));
    bool answering = false;
    try {
      const std::vector<std::string> words = splitWords(line);
      const Command& found = command(words[0]);
      answering = found.queuesAnswers;
      const ScriptArgs args = ScriptArgs(words).subspan(1);
      checkArity(found, args);
      found.handler(session_, args);
    } catch (const std::exception& e) {
      session_.fail(std::string("error: ") + e.what());
    }
    // A block runs in the middle of a command, whose answers are still to be taken.
    if (!answering && !block) {
      if (const std::size_t unused = session_.watcher().dropUnused())
        session_.fail("answers not used: " + std::to_string(unused));
      session_.addFailures(session_.watcher().takeUnexpected());
    }
  }
  session_.resumeLines(outer);
}

}  // namespace lumisk::host
