// The item vocabulary and the grid's writers.
#include "cave/cave_grid.h"
#include "cave/cave_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

TEST(ItemCodeFromName, EveryAcceptedSpellingGivesItsItemSilently) {
  const std::pair<ItemCode, std::string> spellings[] = {
      {Items::Rockford, "INBOX inbox Inbox"},
      {Items::Exit, "OUTBOX outbox Outbox"},
      {Items::HiddenExit, "HIDDENOUTBOX hiddenoutbox HiddenOutbox"},
      {Items::TitaniumWall, "STEELWALL steelwall SteelWall WALL2 wall2 Wall2"},
      {Items::EmptySpace, "SPACE space Space"},
      {Items::Dirt, "DIRT dirt Dirt"},
      {Items::Boulder, "BOULDER boulder Boulder BOULDERf boulderf Boulderf"},
      {Items::Diamond, "DIAMOND diamond Diamond DIAMONDf diamondf Diamondf DIAMONd"},
      {Items::Wall, "WALL wall Wall"},
      {Items::MagicWall, "MAGICWALL magicwall MagicWall"},
      {Items::GrowingWall, "HEXPANDINGWALL hexpandingwall HexpandingWall VEXPANDINGWALL "
                           "vexpandingwall VexpandingWall EXPANDINGWALL expandingwall "
                           "ExpandingWall"},
      {Items::Firefly, "FIREFLYl fireflyl Fireflyl FIREFLYr fireflyr Fireflyr FIREFLYu fireflyu "
                       "Fireflyu FIREFLYd fireflyd Fireflyd"},
      {Items::Butterfly, "BUTTERFLYl butterflyl Butterflyl BUTTERFLYr butterflyr Butterflyr "
                         "BUTTERFLYu butterflyu Butterflyu BUTTERFLYd butterflyd Butterflyd"},
      {Items::Amoeba, "AMOEBA amoeba Amoeba"},
      {Items::Slime, "SLIME slime Slime"},
      {Items::RockfordDoll, "?????"},
  };
  int names = 0;
  for (const auto &[item, list] : spellings) {
    std::size_t start = 0;
    while (start < list.size()) {
      const std::size_t end = std::min(list.find(' ', start), list.size());
      const std::string name = list.substr(start, end - start);
      const ItemCode expected = item; // a lambda may not capture a structured binding
      EXPECT_EQ(OutputOf([&] { EXPECT_EQ(ItemCodeFromName(name), expected) << name; }), "") << name;
      ++names;
      start = end + 1;
    }
  }
  EXPECT_EQ(names, 80);
}

TEST(ItemCodeFromName, UnknownNameWarnsOnceAndGivesEmptySpace) {
  for (const std::string name : {"Steelwall", "BOULDERF", "boulderF", "", "DIRT ", " DIRT",
                                 "DIAMONDF", "Rockford", "??????"}) {
    const std::string output =
        OutputOf([&] { EXPECT_EQ(ItemCodeFromName(name), Items::EmptySpace); });
    EXPECT_EQ(output, "Warning: Unknown item in objects! Empty Space inserted.\n") << name;
  }
}

class FillBlockTest : public CaveTest {};

TEST_F(FillBlockTest, FillsTheInclusiveRangesOnly) {
  FillBlock(Items::TitaniumWall, 0, 21, 0, 39);
  FillBlock(Items::Dirt, 1, 20, 1, 38);
  const auto grid = WholeGrid();
  int dirt = 0;
  for (const std::string &row : grid) dirt += CountOf(row, ".");
  EXPECT_EQ(dirt, 760);
  EXPECT_EQ(grid[0], std::string(40, 'W'));
  EXPECT_EQ(grid[21], std::string(40, 'W'));
  for (const std::string &row : grid) EXPECT_TRUE(row.front() == 'W' && row.back() == 'W');

  FillBlock(Items::Boulder, 3, 2, 1, 38); // first row after the last: nothing
  FillBlock(Items::Boulder, 1, 20, 5, 4);
  EXPECT_EQ(WholeGrid(), grid);
}

TEST_F(FillBlockTest, ClipsRangesThatReachPastTheGrid) {
  FillBlock(Items::Wall, -5, 1, 37, 100);
  FillBlock(Items::Diamond, 20, 2147483647, -2147483647 - 1, 0);
  EXPECT_EQ(GridPicture(0, 3, 35, 5), (std::vector<std::string>{"##www", "##www", "#####"}));
  EXPECT_EQ(GridPicture(19, 3, 0, 2), (std::vector<std::string>{"##", "d#", "d#"}));
  // Past a row's end lies the next row's start in memory.
  SetCell(Items::Wall, 0, 40);
  SetCell(Items::Wall, 3, -1);
  EXPECT_EQ(CaveGrid[1][0], UnwrittenCell);
  EXPECT_EQ(CaveGrid[2][39], UnwrittenCell);
}
