// Building a cave: border, initial fill, random fill, then its body section.
#include "bdcff/cave_attributes.h"
#include "cave/cave_builder.h"
#include "driver/console_dialog.h"
#include "test_support.h"

namespace {

class BuildCaveTest : public CaveTest {
protected:
  static std::string Build(const std::string &body = "[/objects]\n") {
    OpenInputText(body);
    return OutputOf(BuildCave);
  }

  static void SetPairs(const std::vector<std::pair<ItemCode, std::int32_t>> &pairs) {
    CaveRecord.RandomFill = true;
    for (std::size_t slot = 0; slot < pairs.size(); ++slot) {
      CaveRecord.RandomFillItems[slot] = pairs[slot].first;
      CaveRecord.RandomFillProbabilities[slot] = pairs[slot].second;
    }
  }

  // A cave of `rows` by `columns` in the upper left corner: steel border
  // round the interior character, steel everywhere else.
  static Picture FramedCave(int rows, int columns, char interior) {
    Picture picture(GridRows, std::string(GridColumns, 'W'));
    for (int row = 1; row < rows - 1; ++row)
      picture[static_cast<std::size_t>(row)].replace(1, static_cast<std::size_t>(columns - 2),
                                                     static_cast<std::size_t>(columns - 2),
                                                     interior);
    return picture;
  }
};

TEST_F(BuildCaveTest, InitialFillInsideASteelBorder) {
  EXPECT_EQ(Build(), "");
  EXPECT_EQ(WholeGrid(), FramedCave(GridRows, GridColumns, '.'));

  CaveRecord.InitialFill = "BOULDER";
  CaveRecord.Intermission = true;
  EXPECT_EQ(Build(), "");
  EXPECT_EQ(WholeGrid(), FramedCave(12, 20, 'r'));
}

TEST_F(BuildCaveTest, UnknownInitialFillWarnsOnceForEmptySpace) {
  CaveRecord.InitialFill = "Dirtt";
  EXPECT_EQ(Build(), "Warning: Unknown item in objects! Empty Space inserted.\n");
  EXPECT_EQ(WholeGrid(), FramedCave(GridRows, GridColumns, ' '));
}

TEST_F(BuildCaveTest, MapCaveIsSteelWhereTheMapDoesNotReach) {
  CaveRecord.HasMap = true;
  CaveRecord.Intermission = true; // no part in a map cave, nor the fills
  CaveRecord.InitialFill = "Dirtt";
  SetPairs({{Items::Boulder, 255}});
  EXPECT_EQ(Build("P.\nrd\n[/map]\n"), "");
  Picture expected(GridRows, std::string(GridColumns, 'W'));
  expected[0].replace(0, 2, "P.");
  expected[1].replace(0, 2, "rd");
  EXPECT_EQ(WholeGrid(), expected);
}

TEST_F(BuildCaveTest, SeedZeroWithOneBoulderPair) {
  CaveRecord.InitialFill = "SPACE"; // a random cave ignores it
  SetPairs({{Items::Boulder, 50}});
  EXPECT_EQ(Build(), "");
  const Picture grid = WholeGrid();
  // (1,0) drew 0 but is border; (1,1) drew 9; (1,2)..(1,5) drew 220, 56, 94, 206.
  EXPECT_EQ(grid[1].substr(0, 6), "Wr....");
  EXPECT_EQ(grid[0], std::string(GridColumns, 'W'));
  EXPECT_EQ(grid[21], std::string(GridColumns, 'W'));
  int boulders = 0;
  for (int row = 1; row <= 20; ++row) {
    const std::string &line = grid[static_cast<std::size_t>(row)];
    EXPECT_TRUE(line.front() == 'W' && line.back() == 'W') << "row " << row;
    EXPECT_EQ(line.find_first_not_of(".r", 1), 39u) << "row " << row;
    boulders += CountOf(line, "r");
  }
  EXPECT_GT(boulders, 0);
}

TEST_F(BuildCaveTest, LaterPairOverridesEarlierOne) {
  // Values 9, 220, 56, 94, 206 fall on (1,1)..(1,5).
  SetPairs({{Items::Boulder, 100}, {Items::Diamond, 20}});
  Build();
  EXPECT_EQ(GridPicture(1, 1, 1, 5)[0], "d.rr.");

  SetPairs({{Items::Diamond, 20}, {Items::Boulder, 100}});
  Build();
  EXPECT_EQ(GridPicture(1, 1, 1, 5)[0], "r.rr.");
}

TEST_F(BuildCaveTest, OnlyTheFirstFourPairsTakePart) {
  SetPairs({{Items::Wall, 0},
            {Items::Wall, 0},
            {Items::Wall, 0},
            {Items::Wall, 0},
            {Items::Diamond, 255}});
  Build();
  EXPECT_EQ(WholeGrid(), FramedCave(GridRows, GridColumns, '.'));
}

// One pair of at most 255 among the first four means that slot 0 alone is
// tested, and its probability of 300 beats every random value.
TEST_F(BuildCaveTest, ProbabilityAbove255ShiftsTheTestedPairs) {
  SetPairs({{Items::Wall, 300}, {Items::Boulder, 50}});
  Build();
  EXPECT_EQ(WholeGrid(), FramedCave(GridRows, GridColumns, 'w'));
}

TEST_F(BuildCaveTest, SeedAbove255UsesItsLowEightBits) {
  SetPairs({{Items::Boulder, 60}, {Items::Diamond, 30}});
  const auto gridFor = [](std::int32_t seed) {
    CaveRecord.RandSeed = seed;
    Build();
    return WholeGrid();
  };
  const Picture seedZero = gridFor(0);
  EXPECT_EQ(gridFor(256), seedZero);
  EXPECT_EQ(gridFor(300), gridFor(44));
  EXPECT_EQ(gridFor(2147483647), gridFor(255));
  EXPECT_NE(gridFor(1), seedZero);
}

// Every cell of rows 1..21 takes a step, so an intermission's interior holds
// the same random items as the same cells of an ordinary cave.
TEST_F(BuildCaveTest, IntermissionKeepsTheRandomValuesOfItsCells) {
  SetPairs({{Items::Boulder, 60}, {Items::Diamond, 30}});
  Build();
  const Picture ordinary = GridPicture(1, 10, 1, 18);
  CaveRecord.Intermission = true;
  Build();
  EXPECT_EQ(GridPicture(1, 10, 1, 18), ordinary);
  Picture outside = WholeGrid();
  for (std::size_t row = 1; row <= 10; ++row) outside[row].replace(1, 18, 18, 'W');
  EXPECT_EQ(outside, Picture(GridRows, std::string(GridColumns, 'W')));
}

TEST_F(BuildCaveTest, ObjectsAreDrawnOverTheFill) {
  SetPairs({{Items::Boulder, 50}});
  Build("Point=1 1 DIAMOND\nPoint=2 1 WALL\n[/objects]\n");
  EXPECT_EQ(GridPicture(1, 1, 0, 4)[0], "Wdw.");
  EXPECT_EQ(ReadTextLine(InputFile), ""); // the section was read to its end tag
  EXPECT_TRUE(TextLinesEnded(InputFile));
}

} // namespace
