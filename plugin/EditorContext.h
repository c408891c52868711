// The design editor as the plug-in sees it: what the editor command hands the editor window, and the
// launcher that opens and closes that window. Portable: the window itself is the editor's business.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "plugin/InitData.h"
#include "store/Design.h"
#include "store/HostApi.h"
#include "store/Platform.h"

namespace lumisk {

// Everything the editor window works with besides its own dialogs. Nothing here is owned but the design
// list, which the window shares: the plug-in outlives the window, because it closes the window before
// it ends.
struct EditorContext {
  // The plug-in's design list: copied into the window's working copy when it opens, replaced by OK after
  // a change. Null when the plug-in is not active. Shared: a window closed after an End (it was in the
  // middle of a prompt then) still holds the list it was opened on.
  std::shared_ptr<DesignList> designs;
  // The window's geometry, its hint help and the import and export folders live here.
  TInitData& settings;
  const HostApi& host;
  // The pad the last menu click came from, at the time of asking: the register and apply commands' pad.
  std::function<int32_t()> currentPad;
  Prompts& prompts;
  FileAccess& files;
  const Collation& collation;
  // Called once when the window is destroyed, after it stored its settings: clears the editor-open flag
  // and, unless `quiet` (the library is being unloaded), asks the host to rebuild the plug-in menus.
  std::function<void(bool quiet)> closed;
};

// The design editor as the menu sees it: opened by the editor command, closed before the plug-in ends.
class EditorLauncher {
 public:
  virtual ~EditorLauncher() = default;
  // Creates and shows the editor window without waiting for it. The window calls `context.closed` when
  // it is destroyed.
  virtual void open(const EditorContext& context) = 0;
  // Closes an open editor window the way any close from outside does: no commit, no question. While a
  // prompt is open the window may be waiting for its answer: it is then closed once the prompt returned.
  virtual void close() = 0;
};

}  // namespace lumisk
