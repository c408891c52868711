// The eight 14 x 14 icons of the design editor as text pictures, one character per pixel, so that a
// person can read and change them in the source. The window turns them into its image list at run time.
//
// Legend: '.' transparent, '#' black, 'w' white, 'r' red. Each picture is a 13 x 13 framed square in the
// top-left corner with a transparent last row and column, so that its frame lines up with the 13 x 13
// colour swatches drawn at the same place.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumisk {

inline constexpr int kIconCount = 8;
inline constexpr int kIconPixels = 14;

using IconPicture = std::array<std::string_view, kIconPixels>;

// 0 off, 1 on, 2 horizontal arrangement (Z arrow), 3 vertical arrangement (N arrow), 4..7 a bar along the
// left, top, right and bottom edge.
const std::array<IconPicture, kIconCount>& iconPictures();

// The colour of one picture character as 0x00RRGGBB; std::nullopt for transparent. Throws
// std::invalid_argument for a character outside the legend.
std::optional<uint32_t> iconPixelColour(char c);

}  // namespace lumisk
