// The stand-in host itself: its pads, the loaded plug-in and the plug-in menu it keeps, and the host API
// functions that the plug-in calls back. Every call of the plug-in into the host is written to the
// transcript. One thread: the plug-in is called on it, and calls back on it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/HostFunctions.h"
#include "host/PadBoard.h"
#include "host/PluginModule.h"
#include "host/Transcript.h"

namespace lumisk::host {

// One item of the plug-in menu as the plug-in described it.
struct MenuItem {
  std::string caption;       // up to its NUL
  bool terminated = true;    // the caption had its NUL inside the 64 bytes
  bool reservedZero = true;  // the 64 reserved bytes were all zero
};

// Asks the plug-in for item `number`; the record is filled with 0xCC first so that what the plug-in
// wrote, and what it left alone, can be told apart. `untouched` tells whether the record kept every byte.
int32_t askMenuItem(PluginModule::GetMenuFn getMenu, int32_t number, MenuItem& item, bool& untouched);

class Host final : public HostFunctions {
 public:
  // A menu longer than this is cut: a plug-in that never answers 0 must not hold the host.
  static constexpr int kMaxMenuItems = 256;

  Host(PadBoard& pads, Transcript& transcript);
  ~Host() override;
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  PadBoard& pads() { return pads_; }
  Transcript& transcript() { return transcript_; }

  // Loads the plug-in and asks for its name. Throws std::runtime_error (code page 932 text).
  void loadPlugin(const std::wstring& path);
  void freePlugin();
  PluginModule* plugin() const { return plugin_.get(); }
  const std::string& pluginName() const { return pluginName_; }

  // The plug-in menu as last rebuilt; item 0 is the submenu title.
  const std::vector<MenuItem>& menu() const { return menu_; }
  bool menuCut() const { return menuCut_; }
  void rebuildMenu();
  void clearMenu();

  // What the windows of the interactive host hook in; all optional.
  std::function<void(const Pad&)> padChanged;
  std::function<void()> menuChanged;
  std::function<HWND(int32_t pad)> windowOfPad;

  // HostFunctions
  int32_t padCount() override;
  int32_t padId(int32_t value) override;
  int32_t nextPadId(int32_t pad) override;
  HWND padWindow(int32_t pad) override;
  int32_t getPadInit(int32_t pad, const char* key, char* buffer, int32_t size) override;
  int32_t setPadInit(int32_t pad, const char* key, const char* value) override;
  int32_t changePluginMenus(const char* pluginName) override;
  void otherCall(std::string_view function) override;

 private:
  void note(const std::string& cp932);

  PadBoard& pads_;
  Transcript& transcript_;
  std::unique_ptr<PluginModule> plugin_;
  std::string pluginName_;
  std::vector<MenuItem> menu_;
  bool menuCut_ = false;
};

}  // namespace lumisk::host
