// How designs enter a design list or reach a pad: the name prompt, capture, apply and import.
// Each operation works on the list it is given: the plug-in's design list or the editor's working copy.
#pragma once

#include <cstdint>
#include <string>

#include "store/Design.h"
#include "store/HostApi.h"
#include "store/Platform.h"

namespace lumisk {

// Asks for a design name with `prompt`, suggesting `name`. The answer is trimmed of leading and trailing
// bytes of 0x20 and below; an empty one or one that any entry of `list` bears is refused with a message.
// True when accepted; `name` then holds the accepted name.
bool namePrompt(Prompts& prompts, const std::string& prompt, std::string& name, const DesignList& list);

// Reads the 24 settings of pad `pad` from the host and appends them under a name the user confirms.
// True when a design was added.
bool capture(DesignList& list, const HostApi& host, int32_t pad, Prompts& prompts);

// Sends every set value of entry `index` to pad `pad`, in catalogue order. True when the host accepted
// every value sent (also when nothing was sent).
bool apply(const DesignList& list, std::size_t index, const HostApi& host, int32_t pad);

// Lets the user choose a design file, starting in `importDir`, and appends its designs to `list`.
// False when the user cancelled. Throws FileError when the chosen file cannot be read; nothing is
// appended then and `importDir` stays. On success `importDir` becomes the chosen file's folder.
bool importDesigns(DesignList& list, std::string& importDir, Prompts& prompts, FileAccess& files,
                   const Collation& collation);

}  // namespace lumisk
