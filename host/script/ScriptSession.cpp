#include "host/script/ScriptSession.h"

#include <charconv>
#include <stdexcept>
#include <utility>

#include "host/HostText.h"
#include "win32/Cp932.h"

namespace lumisk::host {

int32_t number(const std::string& word) {
  int32_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc{} || end != word.data() + word.size()) throw std::runtime_error("not a number: " + word);
  return value;
}

void needArguments(std::string_view command, ScriptArgs args, std::size_t count) {
  if (args.size() != count)
    throw std::runtime_error(std::string(command) + " takes " + std::to_string(count) + " argument" +
                             (count == 1 ? "" : "s"));
}

ScriptSession::ScriptSession(Host& host, DialogWatcher& watcher, std::wstring pluginPath, std::string dataFolder)
    : host_(host),
      transcript_(host.transcript()),
      watcher_(watcher),
      pluginPath_(std::move(pluginPath)),
      workFolder_(utf8FromWide(toWide(host.transcript().workFolder()))),
      dataFolder_(std::move(dataFolder)) {}

void ScriptSession::fail(const std::string& cp932) {
  transcript_.line(cp932);
  ++failures_;
}

std::string ScriptSession::expanded(std::string_view word) const {
  return expandFolders(word, workFolder_, dataFolder_);
}

std::wstring ScriptSession::path(const std::string& word) const { return wideFromUtf8(expanded(word)); }

std::string ScriptSession::text(const std::string& word) const {
  auto converted = cp932FromUtf8(expanded(word));
  if (!converted) throw std::runtime_error("no code page 932 form: " + word);
  return *converted;
}

PluginModule& ScriptSession::plugin() const {
  if (!host_.plugin()) throw std::runtime_error("no plug-in loaded");
  return *host_.plugin();
}

Pad& ScriptSession::pad(const std::string& word) const {
  Pad* found = host_.pads().byNumber(number(word));
  if (!found) throw std::runtime_error("no pad " + word);
  return *found;
}

int ScriptSession::key(const std::string& word) const {
  const int k = PadBoard::keyIndex(word);
  if (k < 0) throw std::runtime_error("no setting " + word);
  return k;
}

ScriptSession::~ScriptSession() {
  if (padWindows_.empty()) return;
  padWindows_.clear();
  PadWindow::unregisterClass(GetModuleHandleW(nullptr));
}

ScriptSession::LinePosition ScriptSession::startScript(const std::vector<std::string>& lines) {
  return std::exchange(position_, LinePosition{&lines, 0});
}

std::optional<std::string> ScriptSession::takeLine() {
  if (!position_.lines || position_.next >= position_.lines->size()) return std::nullopt;
  return (*position_.lines)[position_.next++];
}

void ScriptSession::openPadWindows() {
  if (!padWindows_.empty()) return;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  PadWindow::registerClass(instance);
  try {
    for (std::size_t i = 0; i < host_.pads().pads().size(); ++i)
      padWindows_.push_back(std::make_unique<PadWindow>(instance, host_, i, POINT{0, 0}, [] {}));
  } catch (...) {
    padWindows_.clear();
    PadWindow::unregisterClass(instance);
    throw;
  }
  arrangeWindows(padWindows_);
}

}  // namespace lumisk::host
