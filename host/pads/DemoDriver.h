// Drives the interactive host by itself so that its windows can be photographed, one picture per step:
// the plug-in menu open on the first pad with its submenu unfolded ("1-menu"), the first design applied
// to the first pad ("2-first-design"), the second design to the second pad ("3-second-design"), the first
// pad hidden ("4-hidden"), the design editor open ("5-editor"); then it closes the pads. Before each
// picture it writes "demo: shot NAME" to the transcript and waits until a file "shot-NAME.done" appears
// in the current folder (or 30 s pass), which the script taking the pictures creates when it has taken
// one.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/pads/PadWindow.h"

namespace lumisk::host {

class DemoDriver {
 public:
  DemoDriver(Host& host, std::vector<std::unique_ptr<PadWindow>>& pads);
  ~DemoDriver();
  DemoDriver(const DemoDriver&) = delete;
  DemoDriver& operator=(const DemoDriver&) = delete;

 private:
  struct Step {
    DWORD delayMs;                // wait this long after the previous step
    std::function<bool()> action;  // false: not done yet, ask again at the next tick
  };
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) noexcept;
  void tick();
  void plan();
  bool shot(const std::string& name);
  void postKey(UINT key);
  PadWindow* pad(std::size_t index) const;

  Host& host_;
  std::vector<std::unique_ptr<PadWindow>>& pads_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  ULONGLONG due_ = 0;
  ULONGLONG waitingSince_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
  static DemoDriver* active_;
};

}  // namespace lumisk::host
