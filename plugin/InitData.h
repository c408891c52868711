// The plug-in settings, section "Main" of the INI file: read when the plug-in starts, written when it
// ends; the design editor keeps its window geometry and its folders in them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>

namespace lumisk {

struct TInitData {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  std::string ImportDir;
  std::string ExportDir;
  int32_t Col0Width = 0;
  int32_t Col1Width = 0;
  bool HintHelp = false;
};

// The editor's geometry when nothing is stored: the window's size at design, which is also the smallest
// it may become, and the value list's column widths, which are also the smallest they may become.
inline constexpr int32_t kEditorDefaultWidth = 400;
inline constexpr int32_t kEditorDefaultHeight = 350;
inline constexpr int32_t kNameColumnDefaultWidth = 130;
inline constexpr int32_t kValueColumnDefaultWidth = 70;

// One setting: its key in section "Main", its field and its value when the key is missing (integers;
// switches 0 or 1). A folder that is missing is the INI file's own folder.
struct SettingField {
  const char* key;
  std::variant<int32_t TInitData::*, bool TInitData::*, std::string TInitData::*> field;
  int32_t defaultValue = 0;
};

// Every setting, in the order the keys are read and written: a new setting is one row here.
inline const std::array<SettingField, 9> kSettingFields{{
    {"Left", &TInitData::Left, 0},
    {"Top", &TInitData::Top, 0},
    {"Width", &TInitData::Width, kEditorDefaultWidth},
    {"Height", &TInitData::Height, kEditorDefaultHeight},
    {"Col0Width", &TInitData::Col0Width, kNameColumnDefaultWidth},
    {"Col1Width", &TInitData::Col1Width, kValueColumnDefaultWidth},
    {"HintHelp", &TInitData::HintHelp, 1},
    {"ImportDir", &TInitData::ImportDir},
    {"ExportDir", &TInitData::ExportDir},
}};

}  // namespace lumisk
