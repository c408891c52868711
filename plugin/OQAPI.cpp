#include "plugin/OQAPI.h"

#include <string>

namespace lumisk {

const std::array<std::string_view, kHostFunctionCount> kHostFunctionNames = {
    "OQAGetPadCount",         "OQAGetPadID",      "OQAGetNextPadID",      "OQAGetPadWnd",
    "OQAGetPadTabWnd",        "OQAGetPadInit",    "OQASetPadInit",        "OQAChangePluginButtons",
    "OQAChangePluginMenus",   "OQARedrawPluginButtons", "OQAGetGroupCount", "OQAGetGroup",
    "OQAInsertGroup",         "OQARenameGroup",   "OQACopyGroup",         "OQADeleteGroup",
    "OQAGetButton",           "OQAInsertButton",  "OQAChangeButton",      "OQADeleteButton",
    "OQACopyButton",          "OQAPasteButton",   "OQAButtonInClipbord",  "OQARunButton",
    "OQAGetIcon"};

namespace {
constexpr std::size_t kGetPadID = 1, kGetPadInit = 5, kSetPadInit = 6, kChangePluginMenus = 8;
}

void OQAPI::bind(bool moduleFound, const SymbolLookup& lookup) {
  entries_.fill(nullptr);
  supported_ = false;
  api_ = HostApi{};
  if (!moduleFound) return;
  bool all = true;
  for (std::size_t i = 0; i < kHostFunctionCount; ++i) {
    entries_[i] = lookup(std::string(kHostFunctionNames[i]).c_str());
    all = all && entries_[i] != nullptr;
  }
  supported_ = all;
  if (!all) return;
  api_.supported = true;
  api_.getPadID = reinterpret_cast<OQAGetPadIDFn>(entries_[kGetPadID]);
  api_.getPadInit = reinterpret_cast<OQAGetPadInitFn>(entries_[kGetPadInit]);
  api_.setPadInit = reinterpret_cast<OQASetPadInitFn>(entries_[kSetPadInit]);
  api_.changePluginMenus = reinterpret_cast<OQAChangePluginMenusFn>(entries_[kChangePluginMenus]);
}

}  // namespace lumisk
