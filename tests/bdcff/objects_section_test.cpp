// The objects section: every object kind, its errors, and objects that reach
// past the grid.
#include "bdcff/cave_attributes.h"
#include "bdcff/objects_section.h"
#include "driver/console_dialog.h"
#include "test_support.h"

namespace {

const std::string UnknownItem = "Warning: Unknown item in objects! Empty Space inserted.\n";

class ReadObjectsSectionTest : public CaveTest {
protected:
  static std::string Draw(const std::string &lines) {
    OpenInputText(lines + "[/objects]\n");
    return OutputOf(ReadObjectsSection);
  }

  // Cells that some object has set.
  static int DrawnCells() {
    int cells = 0;
    for (const std::string &row : WholeGrid()) cells += GridColumns - CountOf(row, "#");
    return cells;
  }

  // A cave of Empty Space inside a steel border, as Add expects it.
  static void EmptyCave() {
    FillBlock(Items::TitaniumWall, 0, GridRows - 1, 0, GridColumns - 1);
    FillBlock(Items::EmptySpace, 1, GridRows - 2, 1, GridColumns - 2);
  }
};

TEST_F(ReadObjectsSectionTest, PointSetsOneCell) {
  EXPECT_EQ(Draw("Point=3 2 DIAMOND\npoint=4 2 boulder\nPoint=5 2 DIRT  \n"), "");
  EXPECT_EQ(GridPicture(2, 1, 2, 5)[0], "#dr.#");
  EXPECT_EQ(DrawnCells(), 3);
}

// Two blanks make an empty y (0) and leave "2DIRT" as the name.
TEST_F(ReadObjectsSectionTest, DoubleBlankShiftsTheArguments) {
  EXPECT_EQ(Draw("Point=1  2 DIRT\n"), UnknownItem);
  EXPECT_EQ(GridPicture(0, 1, 0, 3)[0], "# #");
  EXPECT_EQ(DrawnCells(), 1);
}

// A cell outside the grid is skipped before its name is translated.
TEST_F(ReadObjectsSectionTest, CellsOutsideTheGridAreNeitherWrittenNorWarned) {
  EXPECT_EQ(Draw("Point=40 0 NOSUCH\nPoint=0 22 NOSUCH\nPoint=2147483647 2147483647 NOSUCH\n"
                 "Raster=30 1 3 1 5 0 NOSUCH\n"),
            UnknownItem + UnknownItem);
  EXPECT_EQ(GridPicture(1, 1, 30, 10)[0], " #### ####");
  EXPECT_EQ(DrawnCells(), 2);
}

TEST_F(ReadObjectsSectionTest, LinesOfNoKnownKindAreSkipped) {
  EXPECT_EQ(Draw("POINT=1 2 DIRT\n Point=1 2 DIRT\nCircle=1 2 3 DIRT\n\n; Point=1 2 DIRT\n"
                 "Point=1 2 DIRT\r\n"),
            "");
  EXPECT_EQ(DrawnCells(), 1); // only the CR LF line: its carriage return is no part of the name
  EXPECT_EQ(CaveGrid[2][1], Items::Dirt);
}

TEST_F(ReadObjectsSectionTest, LinesInAllEightDirections) {
  EXPECT_EQ(Draw("Line=20 10 22 10 WALL\nLine=20 10 18 10 BOULDER\n"
                 "Line=20 10 20 8 DIAMOND\nLine=20 10 20 12 DIRT\n"
                 "Line=20 10 22 8 MAGICWALL\nLine=20 10 18 8 AMOEBA\n"
                 "Line=20 10 22 12 SLIME\nLine=20 10 18 12 INBOX\n"),
            "");
  EXPECT_EQ(GridPicture(8, 5, 18, 5), (Picture{"a#d#M", "#adM#", "rrPww", "#P.s#", "P#.#s"}));
  EXPECT_EQ(DrawnCells(), 17);
}

TEST_F(ReadObjectsSectionTest, LineFromAPointToItselfAndUnknownNames) {
  EXPECT_EQ(Draw("Line=3 3 3 3 WALL\n"), "");
  EXPECT_EQ(DrawnCells(), 1);
  EXPECT_EQ(CaveGrid[3][3], Items::Wall);
  // The name is translated, and warned about, for every cell set.
  EXPECT_EQ(CountOf(Draw("Line=1 1 4 1 NOSUCH\n"), UnknownItem), 4);
}

TEST_F(ReadObjectsSectionTest, LineReachingPastTheGridDrawsItsInsideCells) {
  EXPECT_EQ(CountOf(Draw("Line=36 5 45 5 NOSUCH\n"), UnknownItem), 4);
  EXPECT_EQ(CountOf(Draw("Line=45 6 36 6 NOSUCH\n"), UnknownItem), 4);
  EXPECT_EQ(Draw("Line=37 19 42 24 WALL\nLine=42 8 38 12 BOULDER\n"), "");
  EXPECT_EQ(GridPicture(19, 3, 37, 3), (Picture{"w##", "#w#", "##w"}));
  EXPECT_EQ(GridPicture(11, 2, 38, 2), (Picture{"#r", "r#"}));
  EXPECT_EQ(DrawnCells(), 8 + 3 + 2);
}

TEST_F(ReadObjectsSectionTest, HugeLinesFinishAtOnceWithoutWrapping) {
  EXPECT_EQ(Draw("Line=0 0 2147483647 0 DIRT\nLine=2147483647 0 0 2147483647 WALL\n"), "");
  EXPECT_EQ(GridPicture(0, 1, 0, GridColumns)[0], std::string(GridColumns, '.'));
  EXPECT_EQ(DrawnCells(), GridColumns);
  EXPECT_EQ(CountOf(Draw("Line=5 2147483647 5 0 NOSUCH\n"), UnknownItem), GridRows);
}

TEST_F(ReadObjectsSectionTest, RectangleOutline) {
  EXPECT_EQ(Draw("Rectangle=2 1 6 4 WALL\nrectangle=9 9 9 9 DIAMOND\n"), "");
  EXPECT_EQ(GridPicture(0, 6, 1, 7),
            (Picture{"#######", "#wwwww#", "#w###w#", "#w###w#", "#wwwww#", "#######"}));
  EXPECT_EQ(DrawnCells(), 15);
  EXPECT_EQ(CaveGrid[9][9], Items::Diamond);
}

TEST_F(ReadObjectsSectionTest, RectangleAroundTheGridAndPastIt) {
  EXPECT_EQ(Draw("Rectangle=0 0 39 21 STEELWALL\n"), "");
  Picture border(GridRows, "W" + std::string(GridColumns - 2, '#') + "W");
  border.front() = border.back() = std::string(GridColumns, 'W');
  EXPECT_EQ(WholeGrid(), border);
  // Only the left and top sides of this one lie inside the grid.
  EXPECT_EQ(CountOf(Draw("Rectangle=35 18 45 25 NOSUCH\n"), UnknownItem), 8);
  EXPECT_EQ(GridPicture(18, 4, 35, 5), (Picture{"     ", " ###W", " ###W", " WWWW"}));
}

TEST_F(ReadObjectsSectionTest, FillRectWithAndWithoutFill) {
  EXPECT_EQ(Draw("FillRect=1 1 5 4 WALL\n"), "");
  EXPECT_EQ(GridPicture(1, 4, 1, 5), Picture(4, "wwwww"));
  EXPECT_EQ(DrawnCells(), 20);
  EXPECT_EQ(Draw("FillRect=1 1 5 4 WALL SPACE\n"), "");
  EXPECT_EQ(GridPicture(1, 4, 1, 5), (Picture{"wwwww", "w   w", "w   w", "wwwww"}));
  EXPECT_EQ(Draw("FillRect=1 1 5 4 BOULDER \n"), "");
  EXPECT_EQ(GridPicture(1, 4, 1, 5), Picture(4, "rrrrr"));
  EXPECT_EQ(Draw("fillrect=1 1 4 4 WALL NOSUCH\n"),
            UnknownItem + UnknownItem + UnknownItem + UnknownItem);
  EXPECT_EQ(DrawnCells(), 20);
}

// Two blanks after the corners leave both names empty; the inside still takes
// the item's (empty, so unknown) name instead of keeping what it held.
TEST_F(ReadObjectsSectionTest, FillRectWithNeitherItemNorFillFillsEveryCell) {
  EXPECT_EQ(CountOf(Draw("FillRect=1 1 5 4  \n"), UnknownItem), 20);
  EXPECT_EQ(GridPicture(1, 4, 1, 5), Picture(4, "     "));
  EXPECT_EQ(DrawnCells(), 20);
}

TEST_F(ReadObjectsSectionTest, HugeFillRectCoversTheGridAtOnce) {
  EXPECT_EQ(Draw("FillRect=0 0 2147483647 2147483647 WALL DIRT\n"), "");
  Picture expected(GridRows, "w" + std::string(GridColumns - 1, '.'));
  expected.front() = std::string(GridColumns, 'w');
  EXPECT_EQ(WholeGrid(), expected);
}

TEST_F(ReadObjectsSectionTest, RasterOfEquallySpacedCells) {
  EXPECT_EQ(Draw("Raster=3 3 4 2 2 5 BOULDER\nraster=1 1 0 5 1 1 WALL\nRaster=1 1 5 0 1 1 WALL\n"),
            "");
  EXPECT_EQ(GridPicture(3, 6, 2, 9), (Picture{"#r#r#r#r#", "#########", "#########", "#########",
                                              "#########", "#r#r#r#r#"}));
  EXPECT_EQ(DrawnCells(), 8);
}

TEST_F(ReadObjectsSectionTest, HugeRasterRepeatsAtMostAcrossAndDownTheGrid) {
  EXPECT_EQ(Draw("Raster=1 1 1000000000 1000000000 0 0 DIRT\n"), "");
  EXPECT_EQ(DrawnCells(), 1);
  EXPECT_EQ(CaveGrid[1][1], Items::Dirt);
  EXPECT_EQ(CountOf(Draw("Raster=1 1 1000000000 1 0 0 NOSUCH\n"), UnknownItem), GridColumns);
  EXPECT_EQ(CountOf(Draw("Raster=1 1 1000000000 1000000000 0 0 NOSUCH\n"), UnknownItem),
            GridColumns * GridRows);
  // In 32 bits the third steps would wrap: 2 + 2 * 2147483647 to column 0,
  // 5 + 2 * 2147483647 to row 3.
  EXPECT_EQ(Draw("Raster=2 5 3 3 2147483647 2147483647 WALL\n"), "");
  EXPECT_EQ(GridPicture(3, 3, 0, 3), (Picture{"###", "###", "##w"}));
}

TEST_F(ReadObjectsSectionTest, AddPutsAnItemBesideEveryFoundOne) {
  EmptyCave();
  SetCell(Items::Boulder, 2, 3);
  SetCell(Items::Boulder, 2, 38);  // its target is the border
  SetCell(Items::Boulder, 21, 5);  // on the border row: target outside the cave
  SetCell(Items::Firefly, 20, 10); // any name of an item finds it
  EXPECT_EQ(Draw("Add=1 0 BOULDER DIAMOND\nadd=0 1 FIREFLYd BUTTERFLYl\n"), "");
  EXPECT_EQ(GridPicture(2, 1, 2, 4)[0], " rd ");
  EXPECT_EQ(GridPicture(2, 1, 37, 3)[0], " rW");
  EXPECT_EQ(GridPicture(21, 1, 4, 4)[0], "WrWW");
  EXPECT_EQ(GridPicture(20, 2, 10, 1), (Picture{"Q", "W"}));
}

TEST_F(ReadObjectsSectionTest, AddOfAnItemToItselfSpreadsToTheBorder) {
  EmptyCave();
  SetCell(Items::Boulder, 3, 30);
  SetCell(Items::Wall, 15, 7);
  EXPECT_EQ(Draw("Add=1 0 BOULDER BOULDER\nAdd=0 2 WALL WALL\n"), "");
  EXPECT_EQ(GridPicture(3, 1, 29, 11)[0], " rrrrrrrrrW");
  EXPECT_EQ(GridPicture(14, 8, 7, 1), (Picture{" ", "w", " ", "w", " ", "w", " ", "W"}));
}

TEST_F(ReadObjectsSectionTest, AddInAnIntermissionStaysInsideItsBorder) {
  CaveRecord.Intermission = true;
  EmptyCave();
  SetCell(Items::Boulder, 2, 3);
  SetCell(Items::Boulder, 5, 18);
  SetCell(Items::Boulder, 10, 6);
  SetCell(Items::Boulder, 14, 8);
  EXPECT_EQ(Draw("Add=1 1 BOULDER DIAMOND\n"), "");
  EXPECT_EQ(CaveGrid[3][4], Items::Diamond);
  EXPECT_EQ(CaveGrid[6][19], Items::EmptySpace);
  EXPECT_EQ(CaveGrid[11][7], Items::EmptySpace);
  EXPECT_EQ(CaveGrid[15][9], Items::EmptySpace);
}

// The unknown find name is Empty Space and is translated for every scanned
// cell, rows 1..21 by columns 1..39.
TEST_F(ReadObjectsSectionTest, AddWithAnUnknownFindWarnsForEveryScannedCell) {
  EmptyCave();
  EXPECT_EQ(CountOf(Draw("Add=0 0 NOSUCH DIAMOND\n"), UnknownItem), 21 * 39);
  Picture expected(GridRows, "W" + std::string(GridColumns - 2, 'd') + "W");
  expected.front() = expected.back() = std::string(GridColumns, 'W');
  EXPECT_EQ(WholeGrid(), expected);
  EXPECT_EQ(Draw("Add=2147483647 2147483647 DIAMOND WALL\n"), "");
  EXPECT_EQ(WholeGrid(), expected);
}

TEST_F(ReadObjectsSectionTest, EndTagSpellings) {
  // What follows the end tag is no longer the section's; the last one ends the
  // file without a line feed.
  for (const std::string ending : {"[/OBJECTS]\nPoint=2 1 WALL\n", "[/Objects]\nPoint=2 1 WALL\n",
                                   "[/objects]\r\nPoint=2 1 WALL\n", "[/objects]"}) {
    OpenInputText("Point=1 1 WALL\n" + ending);
    EXPECT_EQ(OutputOf(ReadObjectsSection), "");
    EXPECT_EQ(GridPicture(1, 1, 1, 2)[0], "w#") << ending;
  }
}

TEST_F(ReadObjectsSectionTest, ErrorsEndTheRun) {
  OpenInputText("Point=3 2 DIAMOND\n[/objects] \n[/objectS]\nPoint=1 1 NOSUCH");
  EXPECT_TRANSCRIPT_AND_EXIT(ReadObjectsSection(), ErrorReport("[/objects] end-tag not found!"));
  const std::pair<std::string, std::string> cases[] = {
      {"Line=1 1 3 2 WALL", "Line: impossible line definition!"},
      {"Rectangle=5 5 2 8 WALL", "Rectangle: must start with upper left corner!"},
      {"Rectangle=2 8 5 5 WALL", "Rectangle: must start with upper left corner!"},
      {"FillRect=5 5 2 8 WALL", "FilRect: must start with upper left corner!"},
      {"Point=10 5", "Unexpected end of line!"},
      {"Point=10 5 ", "Unexpected end of line!"},
      {"Point=", "Unexpected end of line!"},
      {"Line=1 1 3", "Unexpected end of line!"},
      {"Raster=1 1 2 2 1 1", "Unexpected end of line!"},
      {"Add=1 0 BOULDER", "Unexpected end of line!"},
      {"Add=1 0 BOULDER ", "Unexpected end of line!"},
      {"FillRect=1 1 2 2", "Unexpected end of line!"}};
  for (const auto &c : cases) {
    OpenInputText(c.first + "\n[/objects]\n");
    EXPECT_TRANSCRIPT_AND_EXIT(ReadObjectsSection(), ErrorReport(c.second)) << c.first;
  }
}

} // namespace
