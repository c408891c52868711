#include "host/PluginModule.h"

#include <stdexcept>

namespace lumisk::host {
namespace {

template <typename Fn>
void find(HMODULE module, const char* name, Fn& target) {
  target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

PluginModule::PluginModule(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {
  if (!module_)
    throw std::runtime_error("プラグインを読み込めません (エラー " + std::to_string(GetLastError()) + ")");
  HMODULE m = module_.get();
  find(m, "OQXGetName", getName);
  find(m, "OQXGetExplanation", getExplanation);
  find(m, "OQXSetInitFile", setInitFile);
  find(m, "OQXBeginPlugin", beginPlugin);
  find(m, "OQXEndPlugin", endPlugin);
  find(m, "OQXGetMenu", getMenu);
  find(m, "OQXMenuClick", menuClick);
  find(m, "LumiskLiveGuiObjects", liveGuiObjects);
}

std::vector<std::string> PluginModule::missing() const {
  std::vector<std::string> names;
  if (!getName) names.emplace_back("OQXGetName");
  if (!getExplanation) names.emplace_back("OQXGetExplanation");
  if (!setInitFile) names.emplace_back("OQXSetInitFile");
  if (!beginPlugin) names.emplace_back("OQXBeginPlugin");
  if (!endPlugin) names.emplace_back("OQXEndPlugin");
  if (!getMenu) names.emplace_back("OQXGetMenu");
  if (!menuClick) names.emplace_back("OQXMenuClick");
  return names;
}

}  // namespace lumisk::host
