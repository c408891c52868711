// What the commands of a host script share: the host they drive, its transcript, the dialog watcher
// that answers for them, the script's folders and lines, the failures counted so far, and what one
// command leaves for a later one (the measured begin and end, the files held locked).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/Host.h"
#include "host/HostFiles.h"
#include "host/pads/PadWindow.h"
#include "host/script/DialogWatcher.h"

namespace lumisk::host {

// The words of a command line after the command's name.
using ScriptArgs = std::span<const std::string>;

// An argument read as a whole number; throws std::runtime_error "not a number: WORD".
int32_t number(const std::string& word);

// Throws std::runtime_error "COMMAND takes COUNT argument(s)" unless `args` holds exactly `count` words.
void needArguments(std::string_view command, ScriptArgs args, std::size_t count);

class ScriptSession {
 public:
  // `pluginPath` is what `load` loads; `dataFolder` (UTF-8) replaces "@DATA@".
  ScriptSession(Host& host, DialogWatcher& watcher, std::wstring pluginPath, std::string dataFolder);
  ~ScriptSession();
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  Host& host() const { return host_; }
  Transcript& transcript() const { return transcript_; }
  DialogWatcher& watcher() const { return watcher_; }
  const std::wstring& pluginPath() const { return pluginPath_; }

  // Writes the line (code page 932) to the transcript and counts a failure.
  void fail(const std::string& cp932);
  void addFailures(int count) { failures_ += count; }
  int failures() const { return failures_; }

  // A script word (UTF-8) with "@WORK@" and "@DATA@" replaced by the folders.
  std::string expanded(std::string_view word) const;
  std::wstring path(const std::string& word) const;
  // The expanded word in code page 932; throws when it has no form there.
  std::string text(const std::string& word) const;
  // Each throws std::runtime_error when there is no such thing.
  PluginModule& plugin() const;
  Pad& pad(const std::string& word) const;  // by number, from 1
  int key(const std::string& word) const;   // a pad setting by name

  // The script's lines, taken one after the other: a line per command by the runner, and the lines of
  // a block by the command that reads one. `lines` must outlive the reading. startScript answers where
  // reading was, for resumeLines after a block that ran in the middle of a command.
  struct LinePosition {
    const std::vector<std::string>* lines = nullptr;
    std::size_t next = 0;
  };
  LinePosition startScript(const std::vector<std::string>& lines);
  void resumeLines(LinePosition position) { position_ = position; }
  std::optional<std::string> takeLine();

  // Runs `lines` as commands in the middle of the command being run (the runner sets how).
  void setBlockRunner(std::function<void(const std::vector<std::string>&)> runner) { blockRunner_ = std::move(runner); }
  void runBlock(const std::vector<std::string>& lines) const { blockRunner_(lines); }

  // A window per pad, shown as the windowed host shows them, without taking the activation; they stay
  // until the session ends. Opens them when none is open yet.
  void openPadWindows();
  const std::vector<std::unique_ptr<PadWindow>>& padWindows() const { return padWindows_; }

  // Files held open, until released or, with a time given, until that time has passed; `release` is
  // false when the file is not held.
  void hold(std::wstring path, UniqueHandle handle, std::optional<DWORD> forMs = std::nullopt) {
    locks_.erase(path);
    locks_.emplace(std::move(path), std::make_unique<HeldFile>(std::move(handle), forMs));
  }
  bool release(const std::wstring& path) { return locks_.erase(path) != 0; }

 private:
  Host& host_;
  Transcript& transcript_;
  DialogWatcher& watcher_;
  std::wstring pluginPath_;
  std::string workFolder_;  // UTF-8
  std::string dataFolder_;  // UTF-8
  LinePosition position_;
  std::function<void(const std::vector<std::string>&)> blockRunner_;
  std::map<std::wstring, std::unique_ptr<HeldFile>> locks_;
  std::vector<std::unique_ptr<PadWindow>> padWindows_;
  int failures_ = 0;
};

}  // namespace lumisk::host
