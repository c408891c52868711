#include "host/Host.h"

#include <algorithm>
#include <cstring>

namespace lumisk::host {
namespace {

constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
constexpr unsigned char kFill = 0xCC;
constexpr int32_t kNameBufferSize = 256;

}  // namespace

int32_t askMenuItem(PluginModule::GetMenuFn getMenu, int32_t number, MenuItem& item, bool& untouched) {
  MenuRecord record;
  std::memset(&record, kFill, sizeof record);
  const int32_t result = getMenu(number, &record);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
  untouched = std::all_of(bytes, bytes + sizeof record, [](unsigned char b) { return b == kFill; });
  const char* end = static_cast<const char*>(std::memchr(record.caption, '\0', sizeof record.caption));
  item.terminated = end != nullptr;
  item.caption.assign(record.caption, end ? static_cast<std::size_t>(end - record.caption) : sizeof record.caption);
  item.reservedZero = std::all_of(std::begin(record.reserved), std::end(record.reserved), [](char c) { return c == 0; });
  return result;
}

Host::Host(PadBoard& pads, Transcript& transcript) : pads_(pads), transcript_(transcript) { setHostFunctions(this); }

Host::~Host() {
  freePlugin();
  setHostFunctions(nullptr);
}

void Host::note(const std::string& cp932) { transcript_.line("  host: " + cp932); }

void Host::loadPlugin(const std::wstring& path) {
  freePlugin();
  plugin_ = std::make_unique<PluginModule>(path);
  pluginName_.clear();
  if (plugin_->getName) {
    char name[kNameBufferSize] = {};
    plugin_->getName(name, kNameBufferSize);
    name[kNameBufferSize - 1] = '\0';
    pluginName_ = name;
  }
}

void Host::freePlugin() {
  clearMenu();
  plugin_.reset();
  pluginName_.clear();
}

void Host::clearMenu() {
  menu_.clear();
  menuCut_ = false;
  if (menuChanged) menuChanged();
}

void Host::rebuildMenu() {
  menu_.clear();
  menuCut_ = false;
  if (plugin_ && plugin_->getMenu) {
    for (int32_t n = 0;; ++n) {
      if (n == kMaxMenuItems) {
        menuCut_ = true;
        break;
      }
      MenuItem item;
      bool untouched = false;
      if (!askMenuItem(plugin_->getMenu, n, item, untouched)) break;
      menu_.push_back(std::move(item));
    }
  }
  if (menuChanged) menuChanged();
}

int32_t Host::padCount() { return static_cast<int32_t>(pads_.pads().size()); }

int32_t Host::padId(int32_t value) {
  const int32_t id = pads_.idForValue(value);
  note("OQAGetPadID(" + std::to_string(value) + ") -> " + std::to_string(id));
  return id;
}

int32_t Host::nextPadId(int32_t pad) {
  const auto& all = pads_.pads();
  if (pad == 0) return all.empty() ? 0 : all.front().id;
  for (std::size_t i = 0; i + 1 < all.size(); ++i)
    if (all[i].id == pad) return all[i + 1].id;
  return 0;
}

HWND Host::padWindow(int32_t pad) { return windowOfPad ? windowOfPad(pad) : nullptr; }

int32_t Host::getPadInit(int32_t pad, const char* key, char* buffer, int32_t size) {
  const std::string keyText = key ? key : "";
  std::string value;
  PadOutcome outcome = key ? pads_.get(pad, keyText, value) : PadOutcome::UnknownKey;
  if (outcome == PadOutcome::Done && (!buffer || size <= 0 || value.size() >= static_cast<std::size_t>(size)))
    outcome = PadOutcome::BufferTooSmall;
  std::string call = "OQAGetPadInit(" + std::to_string(pad) + ", " + keyText + ", " + std::to_string(size) + ") -> ";
  if (outcome != PadOutcome::Done) {
    note(call + "0 (" + outcomeText(outcome) + ")");
    return kFalse;
  }
  std::memcpy(buffer, value.c_str(), value.size() + 1);
  note(call + "-1 " + "\"" + value + "\"");
  return kTrue;
}

int32_t Host::setPadInit(int32_t pad, const char* key, const char* value) {
  const std::string keyText = key ? key : "";
  const std::string valueText = value ? value : "";
  const PadOutcome outcome = key && value ? pads_.set(pad, keyText, valueText) : PadOutcome::Invalid;
  std::string call = "OQASetPadInit(" + std::to_string(pad) + ", " + keyText + ", \"" + valueText + "\") -> ";
  if (outcome != PadOutcome::Done) {
    note(call + "0 (" + outcomeText(outcome) + ")");
    return kFalse;
  }
  note(call + "-1");
  if (padChanged)
    if (const Pad* changed = pads_.byId(pad)) padChanged(*changed);
  return kTrue;
}

int32_t Host::changePluginMenus(const char* pluginName) {
  const std::string name = pluginName ? pluginName : "";
  std::string call = "OQAChangePluginMenus(\"" + name + "\") -> ";
  // Menus belong to the plug-in that bears the name: another name rebuilds nothing.
  if (!plugin_ || name != pluginName_) {
    note(call + "0 (no plug-in of that name)");
    return kFalse;
  }
  rebuildMenu();
  note(call + "-1, menu rebuilt: " + std::to_string(menu_.size()) + " items" + (menuCut_ ? " (cut)" : ""));
  return kTrue;
}

void Host::otherCall(std::string_view function) { note(std::string(function) + " called"); }

}  // namespace lumisk::host
