// The plug-in's global state and what its seven exports do, free of any platform call: the exports in
// dll/Exports.cpp are thin shells over a PlugFunc instance.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "plugin/EditorContext.h"
#include "plugin/InitData.h"
#include "plugin/OQAPI.h"
#include "store/Design.h"
#include "store/Platform.h"

namespace lumisk {

inline constexpr const char* kPluginName = "Lumisk";

// The record OQXGetMenu fills in the host's memory.
struct TPluginMenuItem {
  char Caption[64];
  char Reserved[64];
};
static_assert(sizeof(TPluginMenuItem) == 128);

// The plug-in menu: item 0 is its title, items 1 to n the first n designs (at most 30), then the rows of
// its command table in PlugFunc.cpp. A new command is one row there and one case in menuClick.
enum class MenuCommand { Title, Design, Separator, Capture, Import, Editor };

struct MenuItem {
  MenuCommand command;
  std::size_t design = 0;  // the design's index in the list, for MenuCommand::Design
};

// What item number `item` is in the menu of a list of `designCount` designs; std::nullopt for a
// negative number and beyond the last item.
std::optional<MenuItem> menuItemAt(int32_t item, std::size_t designCount);
// The item number of `command` (not MenuCommand::Design) in the menu of `designCount` designs.
int32_t menuItemNumber(MenuCommand command, std::size_t designCount);

class PlugFunc {
 public:
  PlugFunc(FileAccess& files, const Collation& collation, Prompts& prompts);

  OQAPI& binding() { return binding_; }
  void setEditorLauncher(EditorLauncher* launcher) { editor_ = launcher; }

  // The seven exports. Booleans are -1 / 0. File errors are shown to the user and never thrown.
  //
  // The host may call while one of the plug-in's prompts is open (a window or a timer the prompt could
  // not hold): a menu click then does nothing and answers 0; an End saves what is there and lets go of
  // the design list, which the command that asked keeps until it returns, and has the editor closed
  // once its prompt has returned.
  int32_t getName(char* buffer, int32_t size) const;
  int32_t getExplanation(char* buffer, int32_t size) const;
  int32_t setInitFile(const char* path);
  int32_t beginPlugin();
  int32_t endPlugin();
  int32_t getMenu(int32_t item, TPluginMenuItem* record) const;
  int32_t menuClick(int32_t item, int32_t value);

  // State the editor and the tests see.
  bool active() const { return active_; }
  bool editorOpen() const { return editorOpen_; }
  void setEditorOpen(bool open) { editorOpen_ = open; }
  int32_t currentPad() const { return currentPad_; }
  TInitData& settings() { return settings_; }
  const TInitData& settings() const { return settings_; }
  DesignList& designs() { return *designs_; }  // only while active()
  // What the editor window is handed when the editor command opens it.
  EditorContext editorContext();

  static std::string explanation();

 private:
  // Asks the host to rebuild the plug-in menus; 0 when the host is not bound.
  int32_t changePluginMenus() const;
  static std::string menuCaption(std::size_t number, const std::string& designName);
  void readSettings(const class TMemIniFile& ini);
  void writeSettings(class TMemIniFile& ini) const;
  // What a command that changed the list answers: the host is asked for the menus again, unless an End
  // came during the command's prompt.
  int32_t menusAfterCommand() const;

  FileAccess& files_;
  const Collation& collation_;
  Prompts& prompts_;
  OQAPI binding_;
  EditorLauncher* editor_ = nullptr;

  std::string iniPath_;
  TInitData settings_{};
  // Shared with the command or editor window that works on it, so that an End in the middle of one of
  // their prompts never frees it under them.
  std::shared_ptr<DesignList> designs_;
  bool active_ = false;
  bool editorOpen_ = false;
  int32_t currentPad_ = 0;
};

}  // namespace lumisk
