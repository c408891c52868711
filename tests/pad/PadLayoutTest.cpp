#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

#include "host/pads/PadLayout.h"

namespace lumisk::host {
namespace {

using Values = std::initializer_list<std::pair<const char*, const char*>>;

// A pad of plain settings: 2 x 3 buttons of 40 x 30, no bars, no captions; `values` changes some.
Pad padWith(Values values) {
  Pad pad;
  for (int k = 0; k < kIntKeyCount; ++k) pad.values[static_cast<std::size_t>(k)] = "0";
  pad.values[10] = "40";  // BtnWidth
  pad.values[11] = "30";  // BtnHeight
  pad.values[21] = "2";   // Cols
  pad.values[22] = "3";   // Rows
  for (const auto& [key, value] : values) {
    const int k = PadBoard::keyIndex(key);
    if (k < 0) throw std::invalid_argument(key);
    pad.values[static_cast<std::size_t>(k)] = value;
  }
  return pad;
}

LayoutLimits limits(int maxWidth = 1000, int maxHeight = 800) {
  LayoutLimits l;
  l.maxWidth = maxWidth;
  l.maxHeight = maxHeight;
  l.textHeight = 12;
  return l;
}

PadLayout layoutOf(Values values, const LayoutLimits& l = limits()) { return layoutPad(lookOf(padWith(values)), l); }

bool inside(const Rect& inner, const Rect& outer) {
  return inner.empty() || (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
                           inner.bottom <= outer.bottom);
}

bool overlap(const Rect& a, const Rect& b) {
  return !a.empty() && !b.empty() && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::string show(const Rect& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "}";
}

// What every layout must hold, whatever the settings: the window within its limits, every part inside
// the client area, the bars and the workspace apart, every button inside the workspace and apart from
// the others, icon and caption inside their button and apart.
void expectSound(const PadLayout& layout, const LayoutLimits& l, const std::string& what) {
  SCOPED_TRACE(what);
  const Rect client{0, 0, layout.client.width, layout.client.height};
  EXPECT_GE(layout.client.width, 1);
  EXPECT_GE(layout.client.height, 1);
  EXPECT_LE(layout.client.width, l.maxWidth);
  EXPECT_LE(layout.client.height, l.maxHeight);
  if (layout.hidden) {
    EXPECT_TRUE(layout.buttons.empty());
    EXPECT_EQ(layout.hiddenBar, client);
    EXPECT_TRUE(inside(layout.hiddenText, client));
    return;
  }
  EXPECT_GE(layout.client.width, l.minWidth);
  EXPECT_GE(layout.client.height, l.minHeight);
  for (const Rect* part : {&layout.dragBar, &layout.scroll.bar, &layout.workspace})
    EXPECT_TRUE(inside(*part, client)) << show(*part);
  EXPECT_FALSE(overlap(layout.dragBar, layout.scroll.bar));
  EXPECT_FALSE(overlap(layout.dragBar, layout.workspace));
  EXPECT_FALSE(overlap(layout.scroll.bar, layout.workspace));
  EXPECT_TRUE(inside(layout.groupNameText, layout.dragBar));
  const ScrollParts& s = layout.scroll;
  for (const Rect* part : {&s.track, &s.back, &s.forward, &s.groupBack, &s.groupForward})
    EXPECT_TRUE(inside(*part, s.bar)) << show(*part);
  EXPECT_TRUE(inside(s.thumb, s.track));
  EXPECT_FALSE(layout.buttons.empty());
  EXPECT_LE(layout.buttons.size(), static_cast<std::size_t>(PadLook::kMaxCols * PadLook::kMaxRows));
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const ButtonBox& b = layout.buttons[i];
    ASSERT_TRUE(inside(b.face, layout.workspace)) << i << " " << show(b.face);
    ASSERT_TRUE(inside(b.icon, b.face)) << i;
    ASSERT_TRUE(inside(b.caption, b.face)) << i;
    ASSERT_FALSE(overlap(b.icon, b.caption)) << i;
    if (i + 1 < layout.buttons.size()) {
      ASSERT_FALSE(overlap(b.face, layout.buttons[i + 1].face)) << i;
    }
  }
}

TEST(PadLayoutTest, BarsTakeTheirSideAndTheButtonsTheRest) {
  struct Case {
    const char* dragBar;
    const char* scrollBar;
    Rect drag, scroll, workspace;
  };
  // 2 x 3 buttons of 40 x 30: a grid of 80 x 90; drag bar 10, scroll bar 14. The drag bar lies outside
  // the scroll bar when both share a side.
  const Case cases[] = {
      {"0", "0", {}, {}, {0, 0, 80, 90}},
      {"1", "0", {0, 0, 10, 90}, {}, {10, 0, 90, 90}},
      {"2", "0", {0, 0, 80, 10}, {}, {0, 10, 80, 100}},
      {"3", "0", {80, 0, 90, 90}, {}, {0, 0, 80, 90}},
      {"4", "0", {0, 90, 80, 100}, {}, {0, 0, 80, 90}},
      {"0", "1", {}, {0, 0, 14, 90}, {14, 0, 94, 90}},
      {"0", "4", {}, {0, 90, 80, 104}, {0, 0, 80, 90}},
      {"2", "3", {0, 0, 94, 10}, {80, 10, 94, 100}, {0, 10, 80, 100}},
      {"1", "1", {0, 0, 10, 90}, {10, 0, 24, 90}, {24, 0, 104, 90}},
      {"4", "4", {0, 104, 80, 114}, {0, 90, 80, 104}, {0, 0, 80, 90}},
  };
  LayoutLimits l = limits();
  l.minWidth = l.minHeight = 0;
  for (const Case& c : cases) {
    const std::string what = std::string("DragBar ") + c.dragBar + ", ScrollBar " + c.scrollBar;
    const PadLayout layout =
        layoutOf({{"DragBar", c.dragBar}, {"DragBarSize", "10"}, {"ScrollBar", c.scrollBar}, {"ScrollSize", "14"}}, l);
    EXPECT_EQ(layout.dragBar, c.drag) << what << " " << show(layout.dragBar);
    EXPECT_EQ(layout.scroll.bar, c.scroll) << what << " " << show(layout.scroll.bar);
    EXPECT_EQ(layout.workspace, c.workspace) << what << " " << show(layout.workspace);
    EXPECT_EQ(layout.dragSide, static_cast<Side>(std::stoi(c.dragBar))) << what;
    expectSound(layout, l, what);
  }
}

TEST(PadLayoutTest, ValuesBeyondWhatTheEditorOffersStaySane) {
  struct Case {
    Values values;
    int cols, rows;  // the buttons shown
    Extent client;
  };
  // Window at most 1000 x 800, at least 40 x 24.
  const Case cases[] = {
      {{{"Rows", "0"}}, 2, 1, {80, 30}},
      {{{"Rows", "-5"}, {"Cols", "-5"}}, 1, 1, {40, 30}},
      {{{"Rows", "100000"}}, 2, 26, {80, 780}},
      {{{"Cols", "100000"}}, 25, 3, {1000, 90}},
      {{{"Cols", "200"}, {"Rows", "150"}, {"BtnWidth", "8"}, {"BtnHeight", "8"}}, 125, 100, {1000, 800}},
      {{{"BtnWidth", "0"}, {"BtnHeight", "-3"}}, 2, 3, {40, 24}},
      {{{"BtnWidth", "2147483647"}, {"BtnHeight", "100000"}}, 2, 3, {512, 768}},
      {{{"BtnWidth", "-2147483648"}, {"BtnSquare", "1"}}, 2, 3, {40, 24}},
      {{{"BtnWidth", "100"}, {"BtnSquare", "1"}, {"BtnHeight", "7"}}, 2, 3, {200, 300}},
      {{{"DragBar", "2"}, {"DragBarSize", "100000"}, {"ScrollBar", "3"}, {"ScrollSize", "-7"}}, 2, 3, {82, 210}},
      {{{"DragBar", "9"}, {"ScrollBar", "-1"}, {"BtnCaption", "7"}, {"BtnVertical", "2"}}, 2, 3, {80, 90}},
      {{{"DragBar", "abc"}, {"Cols", "1e3"}, {"BtnWidth", ""}}, 1, 3, {40, 90}},
      // The widest buttons beside the widest drag bar.
      {{{"BtnWidth", "256"}, {"DragBar", "1"}, {"DragBarSize", "120"}}, 2, 3, {632, 90}},
  };
  for (const Case& c : cases) {
    std::string what;
    for (const auto& [key, value] : c.values) what += std::string(key) + "=" + value + " ";
    const PadLayout layout = layoutOf(c.values);
    EXPECT_EQ(layout.shownCols, c.cols) << what;
    EXPECT_EQ(layout.shownRows, c.rows) << what;
    EXPECT_EQ(layout.client, c.client) << what << layout.client.width << "x" << layout.client.height;
    EXPECT_EQ(layout.buttons.size(), static_cast<std::size_t>(c.cols * c.rows)) << what;
    expectSound(layout, limits(), what);
  }
}

TEST(PadLayoutTest, TheLargestPadFitsASmallScreenAndTheTinyOneIsNoSmallerThanTheWindowMinimum) {
  const LayoutLimits small = limits(200, 200);
  const PadLayout big = layoutOf({{"Cols", "200"}, {"Rows", "150"}, {"BtnWidth", "128"}, {"BtnHeight", "128"},
                                  {"DragBar", "1"}, {"DragBarSize", "100"}, {"ScrollBar", "2"}, {"ScrollSize", "100"}},
                                 small);
  EXPECT_EQ(big.client, (Extent{200, 200}));
  EXPECT_EQ(big.shownCols, 1);
  EXPECT_EQ(big.shownRows, 1);
  expectSound(big, small, "big on small");
  // A button cut by the window's edge keeps within it.
  ASSERT_EQ(big.buttons.size(), 1u);
  EXPECT_EQ(big.buttons[0].face.right, 200);
  EXPECT_EQ(big.buttons[0].face.bottom, 200);

  const PadLayout tiny = layoutOf({{"Cols", "1"}, {"Rows", "1"}, {"BtnWidth", "8"}, {"BtnHeight", "8"}});
  EXPECT_EQ(tiny.client, (Extent{40, 24}));
  expectSound(tiny, limits(), "tiny");

  // Limits that make no sense are made sane too.
  LayoutLimits odd = limits(-5, 100000);
  odd.minWidth = 5000;
  odd.textHeight = -1;
  const PadLayout strange = layoutOf({}, odd);
  EXPECT_EQ(strange.client.width, 1);
  EXPECT_LE(strange.client.height, LayoutLimits::kMaxSide);
}

TEST(PadLayoutTest, ButtonsAreNumberedRowByRowOrColumnByColumn) {
  for (const char* vertical : {"0", "1"}) {
    const PadLayout layout = layoutOf({{"BtnVertical", vertical}});
    ASSERT_EQ(layout.buttons.size(), 6u);
    const ButtonBox& first = layout.buttons[0];
    const ButtonBox& second = layout.buttons[1];
    EXPECT_EQ(first.face.left, 1);
    EXPECT_EQ(first.face.top, 1);
    if (vertical[0] == '1') {
      EXPECT_EQ(second.face.left, first.face.left) << "the second button is below the first";
      EXPECT_EQ(second.face.top, first.face.top + 30);
      EXPECT_EQ(layout.buttons[3].face.left, first.face.left + 40) << "the fourth starts the second column";
    } else {
      EXPECT_EQ(second.face.top, first.face.top) << "the second button is right of the first";
      EXPECT_EQ(second.face.left, first.face.left + 40);
      EXPECT_EQ(layout.buttons[2].face.top, first.face.top + 30) << "the third starts the second row";
    }
    for (std::size_t i = 0; i < layout.buttons.size(); ++i) EXPECT_EQ(layout.buttons[i].number, static_cast<int>(i));
  }
}

TEST(PadLayoutTest, IconAndCaptionFollowCaptionPlaceAndIconSize) {
  struct Case {
    const char* caption;
    const char* small;
    const char* width;
    const char* height;
    int icon;            // side of the icon; 0 none
    bool captionShown;
  };
  const Case cases[] = {
      {"0", "0", "48", "48", 32, false},  {"0", "1", "48", "48", 16, false}, {"0", "0", "24", "24", 18, false},
      {"0", "0", "8", "8", 0, false},     {"1", "0", "64", "56", 32, true},  {"1", "1", "64", "56", 16, true},
      {"1", "0", "40", "30", 11, true},   {"1", "0", "40", "16", 0, true},   {"2", "0", "96", "28", 22, true},
      {"2", "1", "96", "28", 16, true},   {"2", "0", "28", "28", 22, false}, {"2", "1", "8", "8", 0, false},
  };
  for (const Case& c : cases) {
    const std::string what = std::string("BtnCaption ") + c.caption + ", BtnSmallIcon " + c.small + ", " + c.width +
                             " x " + c.height;
    const PadLayout layout = layoutOf(
        {{"BtnCaption", c.caption}, {"BtnSmallIcon", c.small}, {"BtnWidth", c.width}, {"BtnHeight", c.height}});
    const ButtonBox& b = layout.buttons.at(0);
    EXPECT_EQ(b.icon.width(), c.icon) << what;
    EXPECT_EQ(b.icon.height(), c.icon) << what;
    EXPECT_EQ(layout.iconSize, c.icon) << what;
    EXPECT_EQ(!b.caption.empty(), c.captionShown) << what << " " << show(b.caption);
    if (!b.icon.empty() && !b.caption.empty()) {
      if (c.caption[0] == '1') {
        EXPECT_GE(b.caption.top, b.icon.bottom) << what << ": below the icon";
        EXPECT_NEAR((b.icon.left + b.icon.right) / 2.0, (b.caption.left + b.caption.right) / 2.0, 1.0) << what;
      } else {
        EXPECT_GE(b.caption.left, b.icon.right) << what << ": right of the icon";
        EXPECT_LT(b.caption.top, b.icon.bottom) << what;
        EXPECT_GT(b.caption.bottom, b.icon.top) << what;
      }
    }
    if (c.caption[0] == '0' && !b.icon.empty()) {
      EXPECT_EQ(b.icon.left - b.face.left, b.face.right - b.icon.right) << what << ": centred";
      EXPECT_EQ(b.icon.top - b.face.top, b.face.bottom - b.icon.bottom) << what;
    }
    expectSound(layout, limits(), what);
  }
}

TEST(PadLayoutTest, ScrollBarButtonsLieInOrderAlongTheBar) {
  struct Case {
    const char* side;
    const char* scrollBtn;
    const char* groupBtn;
  };
  const Case cases[] = {{"1", "0", "0"}, {"1", "1", "0"}, {"2", "0", "1"}, {"3", "1", "1"}, {"4", "1", "1"}};
  for (const Case& c : cases) {
    const std::string what = std::string("ScrollBar ") + c.side + " ScrollBtn " + c.scrollBtn + " GroupBtn " + c.groupBtn;
    const PadLayout layout = layoutOf({{"ScrollBar", c.side}, {"ScrollSize", "12"}, {"ScrollBtn", c.scrollBtn},
                                       {"GroupBtn", c.groupBtn}, {"Rows", "6"}, {"Cols", "6"}});
    const ScrollParts& s = layout.scroll;
    const bool across = c.side[0] == '2' || c.side[0] == '4';
    EXPECT_EQ(s.across, across) << what;
    EXPECT_EQ(s.back.empty(), c.scrollBtn[0] == '0') << what;
    EXPECT_EQ(s.forward.empty(), c.scrollBtn[0] == '0') << what;
    EXPECT_EQ(s.groupBack.empty(), c.groupBtn[0] == '0') << what;
    EXPECT_EQ(s.groupForward.empty(), c.groupBtn[0] == '0') << what;
    // Along the bar: group back, back, track, forward, group forward; buttons square.
    auto start = [&](const Rect& r) { return across ? r.left : r.top; };
    auto end = [&](const Rect& r) { return across ? r.right : r.bottom; };
    int at = start(s.bar);
    for (const Rect* part : {&s.groupBack, &s.back, &s.track, &s.forward, &s.groupForward}) {
      if (part->empty()) continue;
      EXPECT_EQ(start(*part), at) << what << " " << show(*part);
      at = end(*part);
      if (part != &s.track) {
        EXPECT_EQ(part->width(), part->height()) << what;
      }
    }
    EXPECT_EQ(at, end(s.bar)) << what;
    EXPECT_EQ(start(s.thumb), start(s.track)) << what;
    EXPECT_LT(end(s.thumb), end(s.track)) << what;
    expectSound(layout, limits(), what);
  }
  // Off, there is nothing of it.
  const PadLayout none = layoutOf({{"ScrollBar", "0"}, {"ScrollBtn", "1"}, {"GroupBtn", "1"}});
  EXPECT_TRUE(none.scroll.bar.empty());
  EXPECT_TRUE(none.scroll.back.empty());
  EXPECT_TRUE(none.scroll.groupBack.empty());
}

TEST(PadLayoutTest, GroupNameShowsOnlyWhenAskedForAndWhereTheBarHasRoom) {
  struct Case {
    const char* side;
    const char* name;
    const char* size;
    bool shown;
    bool across;
  };
  const Case cases[] = {{"2", "1", "14", true, true},  {"4", "1", "10", true, true},  {"2", "1", "9", false, true},
                        {"1", "1", "16", true, false}, {"3", "1", "16", true, false}, {"2", "0", "14", false, true},
                        {"0", "1", "14", false, true}, {"2", "5", "14", false, true}};
  for (const Case& c : cases) {
    const std::string what = std::string("DragBar ") + c.side + " GroupName " + c.name + " DragBarSize " + c.size;
    const PadLayout layout = layoutOf({{"DragBar", c.side}, {"GroupName", c.name}, {"DragBarSize", c.size}});
    EXPECT_EQ(!layout.groupNameText.empty(), c.shown) << what;
    if (c.shown) {
      EXPECT_EQ(layout.groupNameAcross, c.across) << what;
    }
    expectSound(layout, limits(), what);
  }
}

TEST(PadLayoutTest, HiddenPadIsAStripOfItsHideSizeAsWideAsThePad) {
  struct Case {
    const char* hideSize;
    const char* hideName;
    int height;
    bool name;
  };
  const Case cases[] = {{"20", "1", 20, true}, {"20", "0", 20, false}, {"4", "1", 4, false},  {"0", "1", 2, false},
                        {"-9", "1", 2, false}, {"100", "1", 100, true}, {"100000", "1", 120, true}, {"8", "1", 8, false},
                        {"10", "1", 10, true}};
  for (const Case& c : cases) {
    const std::string what = std::string("HideSize ") + c.hideSize + " HideGroupName " + c.hideName;
    Pad pad = padWith({{"HideSize", c.hideSize}, {"HideGroupName", c.hideName}, {"DragBar", "2"}, {"DragBarSize", "10"}});
    const PadLayout shown = layoutPad(lookOf(pad), limits());
    pad.hidden = true;
    const PadLayout hidden = layoutPad(lookOf(pad), limits());
    EXPECT_TRUE(hidden.hidden) << what;
    EXPECT_EQ(hidden.client, (Extent{shown.client.width, c.height})) << what;
    EXPECT_EQ(!hidden.hiddenText.empty(), c.name) << what;
    EXPECT_TRUE(hidden.dragBar.empty()) << what;
    EXPECT_EQ(buttonAt(hidden, 5, 1), -1) << what;
    expectSound(hidden, limits(), what);
  }
  // Never taller than the screen allows.
  Pad tall = padWith({{"HideSize", "100"}});
  tall.hidden = true;
  EXPECT_EQ(layoutPad(lookOf(tall), limits(500, 50)).client.height, 50);
}

TEST(PadLayoutTest, ButtonAtFindsTheButtonUnderAPoint) {
  const PadLayout layout = layoutOf({{"DragBar", "2"}, {"DragBarSize", "10"}});
  EXPECT_EQ(buttonAt(layout, 5, 15), 0);
  EXPECT_EQ(buttonAt(layout, 45, 15), 1);
  EXPECT_EQ(buttonAt(layout, 45, 45), 3);
  EXPECT_EQ(buttonAt(layout, 5, 5), -1) << "the drag bar";
  EXPECT_EQ(buttonAt(layout, 40, 15), -1) << "the gap between two buttons";
  EXPECT_EQ(buttonAt(layout, -1, -1), -1);
}

TEST(PadLayoutTest, LookReadsEverySetting) {
  Pad pad = padWith({{"BtnVertical", "1"},    {"DragBar", "3"},          {"GroupName", "1"},      {"DragBarSize", "17"},
                     {"ScrollBar", "4"},      {"ScrollBtn", "1"},        {"GroupBtn", "1"},       {"ScrollSize", "19"},
                     {"BtnSmallIcon", "1"},   {"BtnSquare", "0"},        {"BtnWidth", "52"},      {"BtnHeight", "44"},
                     {"BtnCaption", "2"},     {"BackColor", "1193046"},  {"BtnColor", "-16"},     {"BtnFocusColor", "255"},
                     {"HideColor", "65280"},  {"BtnTransparent", "1"},   {"BtnSelTransparent", "1"},
                     {"HideGroupName", "1"},  {"HideSize", "33"},        {"Cols", "7"},           {"Rows", "5"}});
  pad.values[23] = "C:\\壁紙\\表紙.bmp";
  pad.hidden = true;
  const PadLook look = lookOf(pad);
  EXPECT_TRUE(look.vertical);
  EXPECT_EQ(look.dragBar, Side::Right);
  EXPECT_TRUE(look.groupName);
  EXPECT_EQ(look.dragBarSize, 17);
  EXPECT_EQ(look.scrollBar, Side::Bottom);
  EXPECT_TRUE(look.scrollButtons);
  EXPECT_TRUE(look.groupButtons);
  EXPECT_EQ(look.scrollSize, 19);
  EXPECT_TRUE(look.smallIcon);
  EXPECT_EQ(look.buttonWidth, 52);
  EXPECT_EQ(look.buttonHeight, 44);
  EXPECT_EQ(look.caption, CaptionPlace::Right);
  EXPECT_EQ(look.backColor, 1193046);
  EXPECT_EQ(look.buttonColor, -16);
  EXPECT_EQ(look.focusColor, 255);
  EXPECT_EQ(look.hideColor, 65280);
  EXPECT_TRUE(look.transparent);
  EXPECT_TRUE(look.selectionCovers);
  EXPECT_TRUE(look.hideGroupName);
  EXPECT_EQ(look.hideSize, 33);
  EXPECT_EQ(look.cols, 7);
  EXPECT_EQ(look.rows, 5);
  EXPECT_EQ(look.wallPaper, "C:\\壁紙\\表紙.bmp");
  EXPECT_TRUE(look.hidden);
  // BtnSquare makes the height the width; "-" names no wallpaper.
  pad.values[9] = "1";
  pad.values[23] = "-";
  EXPECT_EQ(lookOf(pad).buttonHeight, 52);
  EXPECT_EQ(lookOf(pad).wallPaper, "");
}

}  // namespace
}  // namespace lumisk::host
