#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "editor/EditLayout.h"
#include "editor/EditMenu.h"
#include "editor/IconPictures.h"

namespace lumisk {
namespace {

// ---- Layout --------------------------------------------------------------------------------------

TEST(EditLayout, ResizingGrowsTheListsAndKeepsTheButtonsAtTheirLeftDistance) {
  const EditLayout small = computeEditLayout(392, 300, true);
  const EditLayout large = computeEditLayout(392 + 200, 300 + 100, true);
  EXPECT_EQ(large.designList.width(), small.designList.width());  // the left panel keeps its width
  EXPECT_EQ(large.designList.height(), small.designList.height() + 100);
  EXPECT_EQ(large.valList.width(), small.valList.width() + 200);
  EXPECT_EQ(large.valList.height(), small.valList.height() + 100);
  EXPECT_EQ(large.header.height(), kHeaderHeight);
  EXPECT_EQ(large.btOK.left, small.btOK.left);
  EXPECT_EQ(large.btCamcel.left, small.btCamcel.left);
  EXPECT_EQ(large.btOK.top, small.btOK.top + 100);
  EXPECT_EQ(large.statusBar.width(), small.statusBar.width() + 200);
}

TEST(EditLayout, HiddenStatusBarGivesItsSpaceToThePanels) {
  const EditLayout shown = computeEditLayout(392, 300, true);
  const EditLayout hidden = computeEditLayout(392, 300, false);
  EXPECT_TRUE(hidden.statusBar.empty());
  EXPECT_TRUE(hidden.statusBand.empty());
  EXPECT_EQ(hidden.designList.bottom, shown.designList.bottom + kStatusBandHeight);
  EXPECT_EQ(hidden.valList.bottom, shown.valList.bottom + kStatusBandHeight);
  EXPECT_EQ(hidden.btOK, shown.btOK);
}

TEST(EditLayout, ATinyClientAreaGivesEmptyRectanglesNeverInvertedOnes) {
  for (const auto& [w, h] : {std::pair{0, 0}, {10, 10}, {100, 60}, {-5, -5}}) {
    const EditLayout l = computeEditLayout(w, h, true);
    for (const LayoutRect& r : {l.pnTop, l.pnBottom, l.pnLeft, l.pnRight, l.pnRBottom, l.statusBand, l.lbDesign,
                                l.lbValue, l.designList, l.header, l.valList, l.statusBar}) {
      EXPECT_GE(r.width(), 0) << w << "x" << h;
      EXPECT_GE(r.height(), 0) << w << "x" << h;
    }
  }
}

// ---- Menu ----------------------------------------------------------------------------------------

// The character after the single "&" of a caption, upper-cased; 0 when there is none.
char accessKey(std::string_view caption) {
  const std::size_t amp = caption.find('&');
  if (amp == std::string_view::npos || amp + 1 >= caption.size()) return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[amp + 1])));
}

TEST(EditMenu, AccessKeysAreUniqueInTheBarAndInEachMenu) {
  std::set<char> barKeys;
  for (const MenuSpec& menu : editMenuBar()) {
    EXPECT_TRUE(barKeys.insert(accessKey(menu.caption)).second) << menu.name;
    std::set<char> keys;
    for (const MenuItemSpec& item : menu.items) {
      if (item.command == kCmdNone) {
        EXPECT_EQ(item.caption, "-") << item.name;
        continue;
      }
      const char key = accessKey(item.caption);
      EXPECT_NE(key, 0) << item.name;
      EXPECT_TRUE(keys.insert(key).second) << item.name << " repeats an access key of " << menu.name;
    }
  }
}

TEST(EditMenu, EveryShortcutIsOneAcceleratorAndNoKeyServesTwoCommands) {
  std::map<std::tuple<bool, bool, uint16_t>, EditCommand> byKey;
  for (const AcceleratorSpec& a : editAccelerators()) {
    const auto [it, inserted] = byKey.emplace(std::tuple{a.control, a.alt, a.key}, a.command);
    EXPECT_TRUE(inserted) << "key " << a.key << " for commands " << it->second << " and " << a.command;
  }
  int shortcuts = 0;
  for (const MenuSpec& menu : editMenuBar()) {
    for (const MenuItemSpec& item : menu.items) {
      if (item.shortcut.key == 0) {
        EXPECT_EQ(menuItemText(item), item.caption);
        continue;
      }
      ++shortcuts;
      const auto it = byKey.find({item.shortcut.control, item.shortcut.alt, item.shortcut.key});
      ASSERT_NE(it, byKey.end()) << item.name;
      EXPECT_EQ(it->second, item.command) << item.name;
      EXPECT_EQ(menuItemText(item), std::string(item.caption) + "\t" + std::string(item.shortcut.text));
      EXPECT_EQ(findMenuItem(item.command), &item);
    }
  }
  EXPECT_EQ(shortcuts, 10);
  EXPECT_EQ(byKey.size(), 11u);  // and Alt+S for the design list label
}

// ---- Icons ---------------------------------------------------------------------------------------

int countInside(const IconPicture& p, char c) {
  int n = 0;
  for (int y = 1; y <= 11; ++y)
    for (int x = 1; x <= 11; ++x) n += p[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == c;
  return n;
}

TEST(IconPictures, EveryIconIsAFramedSquareWithTransparentCorners) {
  for (int i = 0; i < kIconCount; ++i) {
    const IconPicture& p = iconPictures()[static_cast<std::size_t>(i)];
    for (int y = 0; y < kIconPixels; ++y) {
      const std::string_view line = p[static_cast<std::size_t>(y)];
      ASSERT_EQ(line.size(), static_cast<std::size_t>(kIconPixels)) << "icon " << i << " line " << y;
      for (int x = 0; x < kIconPixels; ++x) {
        const char c = line[static_cast<std::size_t>(x)];
        EXPECT_NO_THROW(iconPixelColour(c)) << "icon " << i;
        const bool margin = x == 13 || y == 13;
        const bool frame = !margin && (x == 0 || y == 0 || x == 12 || y == 12);
        const char expected = margin ? '.' : frame ? '#' : c;
        EXPECT_EQ(c, expected) << "icon " << i << " at " << x << "," << y;
        if (!margin && !frame) {
          EXPECT_NE(c, '.') << "icon " << i << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(IconPictures, EachIconShowsItsOwnMark) {
  const auto& icons = iconPictures();
  EXPECT_EQ(countInside(icons[0], 'w'), 121);  // empty box
  EXPECT_GT(countInside(icons[1], '#'), 10);   // tick
  EXPECT_EQ(countInside(icons[1], 'r'), 0);
  for (int i = 2; i < kIconCount; ++i) {
    EXPECT_GT(countInside(icons[static_cast<std::size_t>(i)], 'r'), 10) << i;
    EXPECT_EQ(countInside(icons[static_cast<std::size_t>(i)], '#'), 0) << i;
  }
  // The bars: a red strip three pixels deep along the left, top, right and bottom edge.
  for (int k = 0; k < 11; ++k) {
    const std::size_t a = static_cast<std::size_t>(1 + k);
    EXPECT_EQ(icons[4][a].substr(1, 4), "rrrw");
    EXPECT_EQ(icons[6][a].substr(8, 4), "wrrr");
    for (const std::size_t y : {1u, 2u, 3u}) EXPECT_EQ(icons[5][y][a], 'r');
    EXPECT_EQ(icons[5][4][a], 'w');
    for (const std::size_t y : {9u, 10u, 11u}) EXPECT_EQ(icons[7][y][a], 'r');
    EXPECT_EQ(icons[7][8][a], 'w');
  }
  std::set<std::string> distinct;
  for (const IconPicture& p : icons) {
    std::string all;
    for (const std::string_view line : p) all += line;
    distinct.insert(all);
  }
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kIconCount));
  EXPECT_THROW(iconPixelColour('x'), std::invalid_argument);
  EXPECT_EQ(iconPixelColour('r'), 0xFF0000u);
}

}  // namespace
}  // namespace lumisk
