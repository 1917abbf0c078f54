// The map section: one line per row, one character per cell.
#include "bdcff/map_section.h"
#include "driver/console_dialog.h"
#include "test_support.h"

namespace {

const std::string UnknownMapItem = "Warning: Unknown item in map! Empty Space inserted.\n";
const std::string TooWide = "Warning: Max. cave width of 40 exceeded!\n";
const std::string TooHigh = "Warning: Max. cave height of 22 exceeded!\n";

class ReadMapSectionTest : public CaveTest {
protected:
  static std::string ReadMap(const std::string &section) {
    OpenInputText(section);
    return OutputOf(ReadMapSection);
  }
};

// Rows of 40 characters that use every map character and differ from row to row.
Picture SampleRows(int rows) {
  const std::string characters = "PXHW .rdwMxvVQoOqcCbBasF";
  Picture picture;
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < GridColumns; ++column)
      line.push_back(characters[static_cast<std::size_t>(row + column) % characters.size()]);
    picture.push_back(line);
  }
  return picture;
}

// The grid as ItemChar draws it: the growing walls, fireflies and
// butterflies of a map each come out as one character.
Picture AsItems(Picture picture) {
  for (std::string &line : picture)
    for (char &c : line) c = ItemChar(ItemCodeFromMapChar(c));
  return picture;
}

std::string Joined(const Picture &rows, const std::string &separator = "\n") {
  std::string text;
  for (const std::string &row : rows) text += row + separator;
  return text;
}

TEST(ItemCodeFromMapChar, SpotChecksAndUnknownCharacters) {
  // Growing walls, fireflies and butterflies each have several characters.
  const std::pair<char, ItemCode> known[] = {
      {'P', Items::Rockford},    {'W', Items::TitaniumWall}, {'x', Items::GrowingWall},
      {'V', Items::GrowingWall}, {'Q', Items::Firefly},      {'q', Items::Firefly},
      {'c', Items::Butterfly},   {'B', Items::Butterfly},    {'F', Items::RockfordDoll}};
  for (const auto &[c, item] : known) {
    const ItemCode expected = item;
    const char mapChar = c;
    EXPECT_EQ(OutputOf([&] { EXPECT_EQ(ItemCodeFromMapChar(mapChar), expected) << mapChar; }), "");
  }
  for (char unknown : {'Z', 'p', 'm', '1', '\t', '\r', '\0', static_cast<char>(200)})
    EXPECT_EQ(OutputOf([&] { EXPECT_EQ(ItemCodeFromMapChar(unknown), Items::EmptySpace); }),
              UnknownMapItem)
        << static_cast<int>(unknown);
}

TEST_F(ReadMapSectionTest, FullMapFillsTheGridSilently) {
  const Picture rows = SampleRows(GridRows);
  EXPECT_EQ(ReadMap(Joined(rows) + "[/map]\n"), "");
  EXPECT_EQ(WholeGrid(), AsItems(rows));
  EXPECT_EQ(ReadTextLine(InputFile), ""); // the end tag was the last line read
  EXPECT_TRUE(TextLinesEnded(InputFile));
}

TEST_F(ReadMapSectionTest, EmptyLinesAndCarriageReturnsChangeNothing) {
  const Picture rows = SampleRows(GridRows);
  EXPECT_EQ(ReadMap("\n" + Joined(rows, "\r\n\n") + "[/map]\r\n"), "");
  EXPECT_EQ(WholeGrid(), AsItems(rows));
}

TEST_F(ReadMapSectionTest, ShortMapLeavesTheRestAlone) {
  EXPECT_EQ(ReadMap("  rd\nw\n[/MAP]"), ""); // last line without its line feed
  EXPECT_EQ(GridPicture(0, 3, 0, 5), (Picture{"  rd#", "w####", "#####"}));
}

TEST_F(ReadMapSectionTest, LongLineKeepsFortyCharactersAndWarnsOnce) {
  const std::string exact(GridColumns, 'd');
  const std::string longer = std::string(GridColumns, 'r') + "ZZZZZZZZZ";
  EXPECT_EQ(ReadMap(exact + "\n" + longer + "\n" + longer + "\n[/Map]\n"), TooWide + TooWide);
  EXPECT_EQ(GridPicture(0, 3, 0, GridColumns),
            (Picture{exact, longer.substr(0, 40), longer.substr(0, 40)}));
}

TEST_F(ReadMapSectionTest, UnknownCharacterInsideTheGridWarns) {
  EXPECT_EQ(ReadMap("rZr\n[/map]\n"), UnknownMapItem);
  EXPECT_EQ(GridPicture(0, 1, 0, 4)[0], "r r#");
}

TEST_F(ReadMapSectionTest, TallMapWarnsAfterEveryLineBeyondTheGrid) {
  Picture rows = SampleRows(GridRows);
  EXPECT_EQ(ReadMap(Joined(rows) + "ZZZ\n\nZ\n[/map]\n"), TooHigh + TooHigh + TooHigh);
  EXPECT_EQ(WholeGrid(), AsItems(rows));
}

TEST_F(ReadMapSectionTest, OtherEndTagSpellingsAreRows) {
  // Five unknown characters in each; 'P' is Rockford, 'a' Amoeba.
  const std::string output = ReadMap("[/mAP]\n[/map] \n[/map]\n");
  EXPECT_EQ(CountOf(output, UnknownMapItem), 10);
  EXPECT_EQ(output.size(), 10 * UnknownMapItem.size());
  EXPECT_EQ(GridPicture(0, 2, 0, 8), (Picture{"    P ##", "   a   #"}));
}

TEST_F(ReadMapSectionTest, FileEndingInsideTheMapIsAnError) {
  // The line that runs into the file's end is not stored or translated.
  OpenInputText("rd\nZZ");
  EXPECT_TRANSCRIPT_AND_EXIT(ReadMapSection(), ErrorReport("[/map] end-tag not found!"));
}

} // namespace
