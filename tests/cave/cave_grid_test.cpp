// The item vocabulary and the grid's writers.
#include "cave/cave_grid.h"
#include "test_support.h"

// A few spellings of each kind: capitalised, lower case, direction or "f"
// suffixes, second names, and the five question marks of the doll.
TEST(ItemCodeFromName, SpotChecksOfTheAcceptedSpellingsAreSilent) {
  const std::pair<const char *, ItemCode> spellings[] = {{"INBOX", Items::Rockford},
                                                         {"hiddenoutbox", Items::HiddenExit},
                                                         {"SteelWall", Items::TitaniumWall},
                                                         {"wall2", Items::TitaniumWall},
                                                         {"Space", Items::EmptySpace},
                                                         {"boulderf", Items::Boulder},
                                                         {"DIAMONd", Items::Diamond},
                                                         {"MagicWall", Items::MagicWall},
                                                         {"vexpandingwall", Items::GrowingWall},
                                                         {"Fireflyu", Items::Firefly},
                                                         {"BUTTERFLYr", Items::Butterfly},
                                                         {"slime", Items::Slime},
                                                         {"?????", Items::RockfordDoll}};
  for (const auto &spelling : spellings)
    EXPECT_EQ(OutputOf([&] {
                EXPECT_EQ(ItemCodeFromName(spelling.first), spelling.second) << spelling.first;
              }),
              "")
        << spelling.first;
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
  EXPECT_EQ(GridPicture(0, 3, 35, 5), (Picture{"##www", "##www", "#####"}));
  EXPECT_EQ(GridPicture(19, 3, 0, 2), (Picture{"##", "d#", "d#"}));
  // Past a row's end lies the next row's start in memory.
  SetCell(Items::Wall, 0, 40);
  SetCell(Items::Wall, 3, -1);
  EXPECT_EQ(CaveGrid[1][0], UnwrittenCell);
  EXPECT_EQ(CaveGrid[2][39], UnwrittenCell);
}
