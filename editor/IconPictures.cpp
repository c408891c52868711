#include "editor/IconPictures.h"

#include <stdexcept>

namespace lumisk {
namespace {

constexpr std::array<IconPicture, kIconCount> kPictures = {{
    // 0: off, not shown
    {{
        "#############.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#############.",
        "..............",
    }},
    // 1: on
    {{
        "#############.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwww#ww#.",
        "#wwwwwww##ww#.",
        "#ww#www###ww#.",
        "#ww##w###www#.",
        "#ww#####wwww#.",
        "#www###wwwww#.",
        "#wwww#wwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#############.",
        "..............",
    }},
    // 2: horizontal arrangement, a Z-shaped arrow ending in a head that points right
    {{
        "#############.",
        "#wwwwwwwwwww#.",
        "#wrrrrrrrrww#.",
        "#wwwwwwwrwww#.",
        "#wwwwwwrwwww#.",
        "#wwwwwrwwwww#.",
        "#wwwwrwwwwww#.",
        "#wwwrwwwwrww#.",
        "#wwrwwwwwwrw#.",
        "#wrrrrrrrrrr#.",
        "#wwwwwwwwwrw#.",
        "#wwwwwwwwrww#.",
        "#############.",
        "..............",
    }},
    // 3: vertical arrangement, an N-shaped arrow ending in a head that points down
    {{
        "#############.",
        "#wwwwwwwwwww#.",
        "#wrwwwwwwrww#.",
        "#wrwwwwwrrww#.",
        "#wrwwwwrwrww#.",
        "#wrwwwrwwrww#.",
        "#wrwwrwwwrww#.",
        "#wrwrwwwwrww#.",
        "#wrrwwwwwrww#.",
        "#wrwwwwrwrwr#.",
        "#wwwwwwwrrrw#.",
        "#wwwwwwwwrww#.",
        "#############.",
        "..............",
    }},
    // 4: left
    {{
        "#############.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#rrrwwwwwwww#.",
        "#############.",
        "..............",
    }},
    // 5: top
    {{
        "#############.",
        "#rrrrrrrrrrr#.",
        "#rrrrrrrrrrr#.",
        "#rrrrrrrrrrr#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#############.",
        "..............",
    }},
    // 6: right
    {{
        "#############.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#wwwwwwwwrrr#.",
        "#############.",
        "..............",
    }},
    // 7: bottom
    {{
        "#############.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#wwwwwwwwwww#.",
        "#rrrrrrrrrrr#.",
        "#rrrrrrrrrrr#.",
        "#rrrrrrrrrrr#.",
        "#############.",
        "..............",
    }},
}};

}  // namespace

const std::array<IconPicture, kIconCount>& iconPictures() { return kPictures; }

std::optional<uint32_t> iconPixelColour(char c) {
  switch (c) {
    case '.': return std::nullopt;
    case '#': return 0x000000u;
    case 'w': return 0xFFFFFFu;
    case 'r': return 0xFF0000u;
  }
  throw std::invalid_argument("icon picture: unknown pixel character");
}

}  // namespace lumisk
