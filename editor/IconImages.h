// The editor's image list of option icons, made from the text pictures of IconPictures.h.
#pragma once

#include "win32/GuiHandles.h"

namespace lumisk {

// Eight 14 x 14 images with transparent corners, in picture order. Throws std::runtime_error when the
// image list cannot be made.
ImageListHandle createIconImageList();

}  // namespace lumisk
