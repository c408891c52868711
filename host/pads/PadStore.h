// The host's own INI file: every pad's 24 settings and whether it is hidden, one section per pad in
// board order ("Pad1", "Pad2", ...), so that the pads look after a restart as they did when the host
// ended. Portable: the file is read and written through the store's INI object.
#pragma once

#include "host/PadBoard.h"
#include "store/IniFile.h"

namespace lumisk::host {

// Takes from `file` each value that the pad would also take through the host API (plain decimal,
// sizes at least 1, any WallPaper text) and the hidden state; a missing section or key, and a value the
// pad would refuse, leave the pad as it is. Sections of pads the board does not have are ignored.
// Returns the number of values refused.
int readPads(const TMemIniFile& file, PadBoard& board);

// Writes every pad's 24 values and its hidden state into `file`, keeping whatever else the file holds.
void writePads(const PadBoard& board, TMemIniFile& file);

// The section of the pad at `index` (0-based).
std::string padSection(std::size_t index);

}  // namespace lumisk::host
