// The plug-in settings, section "Main" of the INI file: read when the plug-in starts, written when it
// ends; the design editor keeps its window geometry and its folders in them.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace lumisk
