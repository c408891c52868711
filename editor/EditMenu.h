// The design editor's menu bar as data: every item's command, caption, shortcut, hint and the rule that
// enables it. The window builds its menu and its accelerator table from this one table, so caption,
// shortcut and hint of an item cannot drift apart. Portable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lumisk {

// Command identifiers of the menu items (WM_COMMAND). The buttons use the dialog identifiers 1 (OK) and
// 2 (Cancel), so that Enter and Esc reach them the way they reach any dialog's buttons.
enum EditCommand : uint16_t {
  kCmdNone = 0,
  kCmdOk = 1,
  kCmdCancelButton = 2,
  kCmdImport = 101,
  kCmdExport,
  kCmdHelp,
  kCmdExit,
  kCmdCancel,
  kCmdRename,
  kCmdUpper,
  kCmdLower,
  kCmdDelete,
  kCmdAdd,
  kCmdPad,
  kCmdModify,
  kCmdClear,
  // Not a menu item: the access key of the label above the design list.
  kCmdFocusDesignList,
};

// When the refresh of the design list or of the value list enables an item.
enum class EnableRule {
  Always,
  AnyDesign,      // at least one design selected
  OneDesign,      // exactly one design selected
  ValueModify,    // exactly one value row selected, the caret row not a heading
  ValueClear,     // at least one value row selected
};

// Virtual key codes the shortcuts use (the platform's values, spelled out to stay portable).
inline constexpr uint16_t kKeyDelete = 0x2E;
inline constexpr uint16_t kKeyS = 'S';

struct Shortcut {
  bool control = false;
  bool alt = false;
  uint16_t key = 0;         // virtual key; 0 for none
  std::string_view text;    // as the menu shows it after a tab, "Ctrl+I"
};

struct MenuItemSpec {
  std::string_view name;    // the item's name in the window ("mnImport")
  EditCommand command;      // kCmdNone for separators
  std::string_view caption; // "-" for separators
  Shortcut shortcut;
  std::string_view hint;
  EnableRule rule;
};

struct MenuSpec {
  std::string_view name;
  std::string_view caption;
  std::span<const MenuItemSpec> items;
};

// The three menus of the menu bar, left to right.
std::span<const MenuSpec> editMenuBar();

// The item of a command, or nullptr.
const MenuItemSpec* findMenuItem(EditCommand command);

// The accelerators of the window: every item shortcut, and Alt+S for the design list label.
struct AcceleratorSpec {
  bool control;
  bool alt;
  uint16_t key;
  EditCommand command;
};
std::span<const AcceleratorSpec> editAccelerators();

// The caption as the menu shows it: the caption, then a tab and the shortcut text if there is one.
std::string menuItemText(const MenuItemSpec& item);

}  // namespace lumisk
