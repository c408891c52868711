// The host's account of what happened, one line at a time, on a stream that is flushed after every line
// so that nothing is lost when a run is cut short. Texts from the plug-in (code page 932) are shown with
// displayText; the work folder, which differs from machine to machine, is shown as "@WORK@".
#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace lumisk::host {

class Transcript {
 public:
  // `out` null: a transcript that writes nothing. `workFolder` in code page 932, no trailing backslash.
  Transcript(std::FILE* out, std::string workFolder);

  // A line of code page 932 text, shown with displayText.
  void line(std::string_view cp932);
  // A line that is UTF-8 already (the script's own lines).
  void utf8Line(std::string_view utf8);
  // `cp932` in double quotes, still code page 932: for building a line.
  static std::string quoted(std::string_view cp932);

  const std::string& workFolder() const { return workFolder_; }

  // While muted, lines are dropped: for a long run of repeated calls whose summary is written instead.
  void setMuted(bool muted) { muted_ = muted; }

 private:
  std::string shown(std::string_view cp932) const;
  void write(std::string_view utf8);

  std::FILE* out_;
  std::string workFolder_;
  std::atomic<bool> muted_{false};
  std::mutex mutex_;  // the watchdog may write from its own thread
};

}  // namespace lumisk::host
