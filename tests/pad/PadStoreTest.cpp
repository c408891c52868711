#include <gtest/gtest.h>

#include <string>

#include "host/pads/PadStore.h"

namespace lumisk::host {
namespace {

const AsciiCollation kCollation;

std::string serialized(const PadBoard& board, std::string_view before = "") {
  TMemIniFile file("C:\\host\\orbiqa-sim.ini", before, kCollation);
  writePads(board, file);
  return file.serialize();
}

int readInto(PadBoard& board, std::string_view bytes) {
  const TMemIniFile file("C:\\host\\orbiqa-sim.ini", bytes, kCollation);
  return readPads(file, board);
}

TEST(PadStoreTest, EveryPadComesBackAsItWasWritten) {
  PadBoard changed;
  // Every setting of every pad differs from where the pads start, wallpapers included.
  for (std::size_t p = 0; p < changed.pads().size(); ++p) {
    Pad& pad = changed.pads()[p];
    for (int k = 0; k < kIntKeyCount; ++k) pad.values[static_cast<std::size_t>(k)] = std::to_string(1000 * (p + 1) + k);
    pad.hidden = p != 1;
  }
  changed.pads()[0].values[2] = "-2147483648";
  changed.pads()[0].values[23] = "C:\\壁紙\\表紙.bmp";  // 表 ends in a backslash byte
  changed.pads()[1].values[23] = "";
  changed.pads()[2].values[23] = "wall = paper [1].bmp";

  const std::string bytes = serialized(changed);
  PadBoard read;
  EXPECT_EQ(readInto(read, bytes), 0);
  for (std::size_t p = 0; p < changed.pads().size(); ++p) {
    EXPECT_EQ(read.pads()[p].values, changed.pads()[p].values) << "pad " << p + 1;
    EXPECT_EQ(read.pads()[p].hidden, changed.pads()[p].hidden) << "pad " << p + 1;
  }
  // Written twice, the file is the same: nothing piles up.
  EXPECT_EQ(serialized(changed, bytes), bytes);
}

TEST(PadStoreTest, WhatThePadWouldRefuseStaysAsThePadStarts) {
  const PadBoard start;
  struct Case {
    const char* line;
    int key;  // the setting that must keep its start value; -1 for Hidden
  };
  const Case cases[] = {
      {"Cols=0", 21},         {"Rows=-1", 22},       {"BtnWidth=abc", 10}, {"BtnHeight=", 11},
      {"DragBar=01", 1},      {"DragBar=+1", 1},     {"BackColor=$FF", 13}, {"HideSize=99999999999", 20},
      {"ScrollBar= 1", 4},    {"Hidden=2", -1},      {"Hidden=yes", -1},
  };
  for (const Case& c : cases) {
    PadBoard board;
    const int refused = readInto(board, std::string("[Pad1]\r\nGroupBtn=1\r\n") + c.line + "\r\n");
    EXPECT_EQ(refused, 1) << c.line;
    if (c.key >= 0) {
      EXPECT_EQ(board.pads()[0].values[static_cast<std::size_t>(c.key)], start.pads()[0].values[static_cast<std::size_t>(c.key)])
          << c.line;
    } else {
      EXPECT_FALSE(board.pads()[0].hidden) << c.line;
    }
    EXPECT_EQ(board.pads()[0].values[6], "1") << c.line << ": the good value beside it is taken";
  }
}

TEST(PadStoreTest, MissingOrForeignContentMeansThePadsAsTheyStart) {
  const PadBoard start;
  for (const std::string_view bytes : {std::string_view(""), std::string_view("garbage\r\n\x81\x5C\r\n[\r\n=\r\n"),
                                       std::string_view("[Main]\r\nCols=9\r\n[Pad4]\r\nCols=9\r\n[pad 1]\r\nCols=9\r\n")}) {
    PadBoard board;
    EXPECT_EQ(readInto(board, bytes), 0);
    for (std::size_t p = 0; p < start.pads().size(); ++p) {
      EXPECT_EQ(board.pads()[p].values, start.pads()[p].values) << bytes;
      EXPECT_FALSE(board.pads()[p].hidden);
    }
  }
  // Section and key names are found whatever their letter case, as in every INI file of the system.
  PadBoard board;
  EXPECT_EQ(readInto(board, "[PAD2]\r\ncols=9\r\nHIDDEN=1\r\n"), 0);
  EXPECT_EQ(board.pads()[1].values[21], "9");
  EXPECT_TRUE(board.pads()[1].hidden);
}

TEST(PadStoreTest, WritingKeepsTheRestOfTheFileAndNeverBreaksALine) {
  PadBoard board;
  board.pads()[0].values[23] = "C:\\a.bmp\r\nCols=7";  // no file has such a name: stored as no wallpaper
  const std::string bytes = serialized(board, "; the host's pads\r\n[Other]\r\nNote=kept\r\n[Pad2]\r\nExtra=also kept\r\n");
  EXPECT_NE(bytes.find("Note=kept"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Extra=also kept"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("Cols=7"), std::string::npos) << bytes;
  PadBoard read;
  EXPECT_EQ(readInto(read, bytes), 0);
  EXPECT_EQ(read.pads()[0].values[23], "");
  EXPECT_EQ(read.pads()[0].values[21], board.pads()[0].values[21]);
  for (std::size_t p = 0; p < board.pads().size(); ++p)
    EXPECT_NE(TMemIniFile("x", bytes, kCollation).sectionIndex(padSection(p)), TMemIniFile::npos) << p;
}

}  // namespace
}  // namespace lumisk::host
