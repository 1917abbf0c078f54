// Reading the graphics file into the tile set.
#include "driver/console_dialog.h"
#include "picture/graphics_file.h"
#include "test_support.h"

namespace {

const std::string ProgressLine = "Reading graphics file...\n";

// Row `row` of the test tile of `item`: the first row marks the item, so no
// two tiles are alike, and the rows differ, so a tile stored in the wrong slot
// or a row out of place shows.
std::string TileRow(std::size_t item, std::size_t row) {
  std::string text;
  for (std::size_t column = 0; column < 16; ++column) {
    const std::size_t digit = row == 0
                                  ? (column == item ? 4 : 1)
                                  : (item * 3 + row * 7 + column * column + row / 5 * column) % 5;
    text += static_cast<char>('0' + digit);
  }
  return text;
}

std::string ExpectedTile(std::size_t item) {
  std::string tile;
  for (std::size_t row = 0; row < 16; ++row) tile += TileRow(item, row);
  return tile;
}

// One section: its heading line, then its sixteen rows, each line ended by
// `lineEnd`.
std::string Section(std::size_t item, const std::string &heading, const std::string &lineEnd) {
  std::string text = heading + lineEnd;
  for (std::size_t row = 0; row < 16; ++row) text += TileRow(item, row) + lineEnd;
  return text;
}

std::string Heading(std::size_t item) {
  return "[" + std::string(ItemNames[item]) + "]";
}

// A complete graphics file with `between` standing before every heading.
std::string GraphicsText(const std::string &between = "", const std::string &lineEnd = "\n") {
  std::string text;
  for (std::size_t item = 0; item < 16; ++item)
    text += between + Section(item, Heading(item), lineEnd);
  return text;
}

// Opens the text as the graphics file and reads it; returns the console output.
std::string ReadText(const std::string &text) {
  const ScratchFolder folder;
  const std::filesystem::path path = folder.Write("tiles.txt", text);
  EXPECT_TRUE(OpenTextLines(GraphicsFile, path.string()));
  TileSet = {};
  return OutputOf(ReadGraphicsFile);
}

void ExpectAllTilesRead() {
  for (std::size_t item = 0; item < 16; ++item)
    EXPECT_EQ(TileSet[item], ExpectedTile(item)) << "tile " << item;
  EXPECT_EQ(GraphicsFile.file, nullptr) << "the graphics file is closed";
}

// Reads the text in a child, which must end the run with the error.
void ExpectReadFails(const std::string &text, const std::string &message,
                     const std::string &label) {
  const ScratchFolder folder;
  const std::filesystem::path path = folder.Write("tiles.txt", text);
  const ChildOutcome outcome = RunInChild([&] {
    if (!OpenTextLines(GraphicsFile, path.string())) return;
    ReadGraphicsFile();
  });
  EXPECT_EQ(outcome.output, ProgressLine + "Error: " + message + "\nPress ENTER to exit.\n")
      << label;
  EXPECT_EQ(outcome.exitStatus, 1) << label;
}

const std::string ItemNotFound = "Item not found in graphics file!";
const std::string WrongDimensions = "Dimensions of items must be 16x16!";

TEST(ReadGraphicsFile, ReadsSixteenTilesInItemOrder) {
  EXPECT_EQ(ReadText(GraphicsText()), ProgressLine);
  ExpectAllTilesRead();
}

TEST(ReadGraphicsFile, SkipsCommentsAndEmptyLinesBeforeEachHeading) {
  EXPECT_EQ(ReadText("A comment] with a bracket\n\n  [indented is no heading\n" +
                     GraphicsText("\n# between sections\n\n")),
            ProgressLine);
  ExpectAllTilesRead();
}

TEST(ReadGraphicsFile, CarriageReturnsBelongToTheLineEnd) {
  EXPECT_EQ(ReadText("comment\r\n" + GraphicsText("\r\n", "\r\n")), ProgressLine);
  ExpectAllTilesRead();
}

TEST(ReadGraphicsFile, LastRowNeedsNoLineFeedAndTheRestIsNotRead) {
  std::string text = GraphicsText();
  text.pop_back();
  EXPECT_EQ(ReadText(text), ProgressLine);
  ExpectAllTilesRead();

  EXPECT_EQ(ReadText(GraphicsText() + "[Bonus]\nshort\n[Exit]\n"), ProgressLine);
  ExpectAllTilesRead();
}

TEST(ReadGraphicsFile, HeadingComparesOnlyTheNamesLength) {
  // "[Rockford Doll]" starts with "Rockford", so it heads item 0 as well as 15.
  std::string text = Section(0, "[Rockford Doll]", "\n");
  text += Section(1, "[Exit] the way out", "\n");
  for (std::size_t item = 2; item < 16; ++item) text += Section(item, Heading(item), "\n");
  EXPECT_EQ(ReadText(text), ProgressLine);
  ExpectAllTilesRead();
}

TEST(ReadGraphicsFile, KeepsRowCharactersAsTheyStand) {
  std::string text = GraphicsText();
  const std::string odd = "x9 5-\t[abcdefghi";
  const std::size_t firstRow = text.find(TileRow(0, 0));
  text.replace(firstRow, 16, odd);
  ReadText(text);
  EXPECT_EQ(TileSet[0], odd + ExpectedTile(0).substr(16));
}

TEST(ReadGraphicsFile, HeadingsMustComeInItemOrder) {
  std::string swapped =
      Section(0, Heading(0), "\n") + Section(2, Heading(2), "\n") + Section(1, Heading(1), "\n");
  ExpectReadFails(swapped, ItemNotFound, "hidden exit before exit");

  const std::string wrongNames[] = {"[rockford]", "[Rock]", "[", "[ Rockford]", "[ROCKFORD]"};
  for (const std::string &heading : wrongNames)
    ExpectReadFails(Section(0, heading, "\n"), ItemNotFound, heading);

  ExpectReadFails("[comment in brackets]\n" + GraphicsText(), ItemNotFound,
                  "comment beginning with a bracket");
}

TEST(ReadGraphicsFile, FileEndingBeforeAHeadingLacksThatItem) {
  const std::string all = GraphicsText();
  const std::string fifteen = all.substr(0, all.find(Heading(15)));
  ExpectReadFails(fifteen, ItemNotFound, "fifteen sections");
  ExpectReadFails(fifteen + "comment without line feed", ItemNotFound, "comment at the end");
  ExpectReadFails("", ItemNotFound, "empty file");
}

TEST(ReadGraphicsFile, EveryRowHasSixteenCharacters) {
  const std::string all = GraphicsText();
  const std::size_t row = all.find(TileRow(3, 5));
  struct Case {
    std::string row;
    const char *label;
  } cases[] = {
      {TileRow(3, 5).substr(0, 15), "15 characters"},
      {TileRow(3, 5) + "1", "17 characters"},
      {TileRow(3, 5) + " ", "trailing blank"},
      {"", "empty row"},
      {"\r" + TileRow(3, 5), "carriage return inside the row"},
  };
  for (const Case &bad : cases) {
    std::string text = all;
    text.replace(row, 16, bad.row);
    ExpectReadFails(text, WrongDimensions, bad.label);
  }
}

TEST(ReadGraphicsFile, FileEndingInsideATileIsCutShort) {
  const std::string all = GraphicsText();
  const std::size_t lastRow = all.rfind(TileRow(15, 15));
  ExpectReadFails(all.substr(0, lastRow), WrongDimensions, "fifteen rows of the last tile");
  ExpectReadFails(all.substr(0, lastRow + 10), WrongDimensions, "last row cut short");
  ExpectReadFails(Section(0, Heading(0), "\n").substr(0, 30), WrongDimensions, "first tile");
}

} // namespace
