#include "plugin/PlugFunc.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string_view>
#include <type_traits>
#include <variant>

#include "store/Cp932Path.h"
#include "store/DesignFile.h"
#include "store/DesignOps.h"
#include "store/DesignRescue.h"
#include "store/IniFile.h"
#include "store/IntegerText.h"

namespace lumisk {
namespace {

constexpr int32_t kTrue = -1;
constexpr int32_t kFalse = 0;
constexpr std::size_t kMaxMenuDesigns = 30;
constexpr const char* kMain = "Main";

// The commands after the designs, in menu order.
struct MenuCommandRow {
  MenuCommand command;
  std::string_view caption;
};
constexpr MenuCommandRow kMenuCommands[] = {
    {MenuCommand::Separator, "-"},
    {MenuCommand::Capture, "現デザインの登録(&R)"},
    {MenuCommand::Import, "デザインのインポート(&I)"},
    {MenuCommand::Editor, "デザインの詳細編集(&E)..."},
};
constexpr std::string_view kMenuTitle = "Lumisk(&D)";
constexpr std::size_t kMenuCommandCount = std::size(kMenuCommands);

std::size_t designItems(std::size_t designCount) { return std::min(designCount, kMaxMenuDesigns); }

std::string_view commandCaption(MenuCommand command) {
  for (const MenuCommandRow& row : kMenuCommands)
    if (row.command == command) return row.caption;
  return {};
}

// The maker's notice line of the explanation: exactly 48 characters.
constexpr std::string_view kNotice = "Version 1.0.0    (C) 2026 The Lumisk developers ";
static_assert(kNotice.size() == 48);

// Copies `text` with its NUL into a host buffer of `size` bytes (low 16 bits, unsigned). Size 0 writes
// nothing; a cut never splits a double-byte character, so the host never sees a lone lead byte.
void copyToHostBuffer(std::string_view text, char* buffer, int32_t size) {
  const std::size_t capacity = static_cast<uint16_t>(size);
  if (!buffer || capacity == 0) return;
  const std::size_t n = characterBoundaryAtOrBelow(text, capacity - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

void fillRecord(TPluginMenuItem* record, std::string_view caption) {
  std::memset(record, 0, sizeof *record);
  const std::size_t n = characterBoundaryAtOrBelow(caption, sizeof record->Caption - 1);
  std::memcpy(record->Caption, caption.data(), n);
}

}  // namespace

std::optional<MenuItem> menuItemAt(int32_t item, std::size_t designCount) {
  if (item < 0) return std::nullopt;
  const std::size_t n = static_cast<std::size_t>(item);
  const std::size_t m = designItems(designCount);
  if (n == 0) return MenuItem{MenuCommand::Title};
  if (n <= m) return MenuItem{MenuCommand::Design, n - 1};
  if (n - m - 1 < kMenuCommandCount) return MenuItem{kMenuCommands[n - m - 1].command};
  return std::nullopt;
}

int32_t menuItemNumber(MenuCommand command, std::size_t designCount) {
  std::size_t row = 0;
  while (row < kMenuCommandCount && kMenuCommands[row].command != command) ++row;
  return static_cast<int32_t>(designItems(designCount) + 1 + row);
}

PlugFunc::PlugFunc(FileAccess& files, const Collation& collation, Prompts& prompts)
    : files_(files), collation_(collation), prompts_(prompts) {}

std::string PlugFunc::explanation() {
  std::string text;
  text += "\r\n";
  text += "Lumisk\r\n";
  text += kNotice;
  text += "\r\n";
  text += std::string(48, '_') + "\r\n";
  text += std::string(48, ' ') + "\r\n";
  text += "  パッドのデザイン設定をメニューに登録し、自由に\r\n";
  text += "  切り替えられるようにします。";
  return text;
}

std::string PlugFunc::menuCaption(std::size_t number, const std::string& designName) {
  std::string caption = number <= 9 ? "&" : "";
  caption += std::to_string(number);
  caption += ". ";
  caption += designName;
  return caption;
}

int32_t PlugFunc::getName(char* buffer, int32_t size) const {
  copyToHostBuffer(kPluginName, buffer, size);
  return kTrue;
}

int32_t PlugFunc::getExplanation(char* buffer, int32_t size) const {
  copyToHostBuffer(explanation(), buffer, size);
  return kTrue;
}

int32_t PlugFunc::setInitFile(const char* path) {
  iniPath_ = path ? path : "";
  return kTrue;
}

int32_t PlugFunc::changePluginMenus() const {
  const HostApi& api = binding_.api();
  return api.changePluginMenus ? api.changePluginMenus(kPluginName) : kFalse;
}

int32_t PlugFunc::menusAfterCommand() const { return active_ ? changePluginMenus() : kFalse; }

EditorContext PlugFunc::editorContext() {
  return EditorContext{
      active_ ? designs_ : nullptr,
      settings_,
      binding_.api(),
      [this] { return currentPad_; },
      prompts_,
      files_,
      collation_,
      [this](bool quiet) {
        editorOpen_ = false;
        // A window closed after an End (it was in the middle of a prompt then) changes no menu.
        if (!quiet && active_) changePluginMenus();
      },
  };
}

void PlugFunc::readSettings(const TMemIniFile& ini) {
  const std::string folder(folderPart(iniPath_));
  for (const SettingField& setting : kSettingFields) {
    std::visit(
        [&](auto field) {
          auto& value = settings_.*field;
          using Value = std::remove_reference_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, int32_t>)
            value = ini.readInteger(kMain, setting.key, setting.defaultValue);
          else if constexpr (std::is_same_v<Value, bool>)
            value = ini.readBool(kMain, setting.key, setting.defaultValue != 0);
          else
            value = ini.readString(kMain, setting.key, folder);
        },
        setting.field);
  }
}

void PlugFunc::writeSettings(TMemIniFile& ini) const {
  for (const SettingField& setting : kSettingFields) {
    std::visit(
        [&](auto field) {
          const auto& value = settings_.*field;
          using Value = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<Value, int32_t>)
            ini.writeInteger(kMain, setting.key, value);
          else if constexpr (std::is_same_v<Value, bool>)
            ini.writeBool(kMain, setting.key, value);
          else
            ini.writeString(kMain, setting.key, value);
        },
        setting.field);
  }
}

int32_t PlugFunc::beginPlugin() {
  if (!binding_.supported()) {
    prompts_.inform("Orbiqa がLumiskに対応していません。");
    return kFalse;
  }
  if (active_) return changePluginMenus();
  // Everything is read before anything changes: a file that cannot be read leaves the plug-in inactive,
  // and an inactive plug-in never writes the INI file, so the designs on disk survive.
  auto list = std::make_shared<DesignList>();
  try {
    const TMemIniFile ini(iniPath_, files_, collation_);
    readSettings(ini);
    loadDesigns(ini, *list);
  } catch (const FileError& e) {
    settings_ = TInitData{};
    prompts_.showError(e.what());
    return kFalse;
  }
  designs_ = std::move(list);
  active_ = true;
  return changePluginMenus();
}

int32_t PlugFunc::endPlugin() {
  // An editor window still open would otherwise store its settings after they were written. One in the
  // middle of a prompt is closed only after it, and its settings are not saved.
  if (editorOpen_ && editor_) editor_->close();
  if (!active_) return kTrue;
  try {
    TMemIniFile ini = TMemIniFile::forRewrite(iniPath_, files_, collation_);
    writeSettings(ini);
    for (std::size_t i = 0; i < designs_->count(); ++i)
      saveDesignSection(ini, static_cast<int32_t>(i), *designs_, i);
    ini.updateFile();
  } catch (const FileError& e) {
    prompts_.showError(e.what());
    rescueDesigns(*designs_, iniPath_, files_, collation_, prompts_);
  }
  designs_.reset();
  active_ = false;
  return kTrue;
}

int32_t PlugFunc::getMenu(int32_t item, TPluginMenuItem* record) const {
  if (!active_ || !record || item < 0) return kFalse;
  if (editorOpen_) {
    if (item != 0) return kFalse;
    fillRecord(record, "Lumisk[詳細編集中]");
    return kTrue;
  }
  const std::optional<MenuItem> entry = menuItemAt(item, designs_->count());
  if (!entry) return kFalse;
  if (entry->command == MenuCommand::Title)
    fillRecord(record, kMenuTitle);
  else if (entry->command == MenuCommand::Design)
    fillRecord(record, menuCaption(entry->design + 1, designs_->name(entry->design)));
  else
    fillRecord(record, commandCaption(entry->command));
  return kTrue;
}

int32_t PlugFunc::menuClick(int32_t item, int32_t value) {
  // A click while a prompt is open would nest a second command inside the first one: it does nothing,
  // and leaves even the current pad as the command that asked found it.
  if (prompts_.showing()) return kFalse;
  const HostApi& api = binding_.api();
  if (api.getPadID) currentPad_ = api.getPadID(value);
  // Before a successful start there is no list to act on; while the editor is open the menu offers no
  // command, and a stray click must not change the list under the window.
  if (item <= 0 || !active_ || editorOpen_) return kFalse;
  // The command keeps the list it works on across its prompts; an End during one of them lets go of the
  // plug-in's hold only, and what the command adds afterwards goes with it.
  const std::shared_ptr<DesignList> list = designs_;
  const std::optional<MenuItem> entry = menuItemAt(item, list->count());
  if (!entry) return kFalse;
  switch (entry->command) {
    case MenuCommand::Design:
      return apply(*list, entry->design, api, currentPad_) ? kTrue : kFalse;
    case MenuCommand::Capture:
      capture(*list, api, currentPad_, prompts_);
      return menusAfterCommand();
    case MenuCommand::Import:
      try {
        if (!importDesigns(*list, settings_.ImportDir, prompts_, files_, collation_)) return kFalse;
      } catch (const FileError& e) {
        prompts_.showError(e.what());
        return kFalse;
      }
      return menusAfterCommand();
    case MenuCommand::Editor:
      if (!editor_) return kFalse;
      editor_->open(editorContext());
      editorOpen_ = true;
      return changePluginMenus();
    case MenuCommand::Title:
    case MenuCommand::Separator:
      break;
  }
  return kFalse;
}

}  // namespace lumisk
