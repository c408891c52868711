// The plug-in library as the host holds it: loaded from a file, its seven entry points found by name,
// freed when the object goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumisk::host {

// The record the plug-in fills for one menu item, in the host's memory.
struct MenuRecord {
  char caption[64];
  char reserved[64];
};
static_assert(sizeof(MenuRecord) == 128);

class PluginModule {
 public:
  using GetTextFn = int32_t(__stdcall*)(char* buffer, int32_t size);
  using SetInitFileFn = int32_t(__stdcall*)(const char* path);
  using NoArgumentFn = int32_t(__stdcall*)();
  using GetMenuFn = int32_t(__stdcall*)(int32_t item, MenuRecord* record);
  using MenuClickFn = int32_t(__stdcall*)(int32_t item, int32_t value);

  // Loads the library at `path` and looks up the entry points. Throws std::runtime_error with a code
  // page 932 message when the library cannot be loaded.
  explicit PluginModule(const std::wstring& path);
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  // Each is null when the library does not export it.
  GetTextFn getName = nullptr;
  GetTextFn getExplanation = nullptr;
  SetInitFileFn setInitFile = nullptr;
  NoArgumentFn beginPlugin = nullptr;
  NoArgumentFn endPlugin = nullptr;
  GetMenuFn getMenu = nullptr;
  MenuClickFn menuClick = nullptr;
  // Only the plug-in's test build has it: the editor's Win32 objects alive now.
  NoArgumentFn liveGuiObjects = nullptr;

  HMODULE handle() const { return module_.get(); }

  // Names of the entry points the library lacks.
  std::vector<std::string> missing() const;

 private:
  struct Release {
    void operator()(HMODULE module) const { FreeLibrary(module); }
  };
  std::unique_ptr<std::remove_pointer_t<HMODULE>, Release> module_;
};

}  // namespace lumisk::host
