// Hostile input, run end to end: garbage, huge lines and numbers, disguised
// tags, unsafe names and full disks. Every case must end in one of the tool's
// own messages, with the exit status and the files left that the message
// promises.
#include "e2e/harness.h"
#include "picture/cave_colors.h"
#include "test_support.h"

#include <array>
#include <random>
#include <set>

namespace {

constexpr std::size_t PictureBytes = 699894;
constexpr std::size_t Rows = 22;
constexpr std::size_t Columns = 40;

std::string BeforeInput() {
  return DialogText + "Reading graphics file...\n";
}

std::string CaveLine(int cave) {
  return CaveProgressLines(cave, cave);
}

ToolResult ConvertGame(const std::string &game) {
  return ConvertTinyGame({{"caves.bd", game}});
}

void ExpectFailure(const ToolResult &result, const std::string &output) {
  EXPECT_EQ(result.output, output);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.written.empty());
}

std::string Game(const std::string &name, const std::string &caves) {
  return "[BDCFF]\n[game]\nName=" + name + "\n\n" + caves + "[/game]\n[/BDCFF]\n";
}

const std::string FivePalette = "Colors=Black Red Green Blue White\n";

std::string ObjectsCave(const std::string &objects, const std::string &attributes = "") {
  return "[cave]\n" + FivePalette + attributes + "[objects]\n" + objects + "[/objects]\n[/cave]\n";
}

std::string RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(count, '\0');
  for (char &c : bytes) c = static_cast<char>(byte(generator));
  return bytes;
}

// The palette slot each cell of a picture shows, read from the top left pixel
// of its tile. With the plain graphics file, item k shows slot k mod 5: dirt
// '0', boulder '1', diamond '2', titanium wall and wall '3', empty space '4'.
using SlotMap = std::array<std::string, Rows>;

SlotMap SlotsOf(const std::string &picture) {
  const std::string colors[] = {"Black", "Red", "Green", "Blue", "White"};
  SlotMap slots;
  if (picture.size() != PictureBytes) return slots;
  for (std::size_t row = 0; row < Rows; ++row)
    for (std::size_t column = 0; column < Columns; ++column) {
      const std::size_t at = 54 + (355 - row * 16) * 1944 + (4 + column * 16) * 3;
      const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(picture[at + i]); };
      const std::int32_t color = byte(2) << 16 | byte(1) << 8 | byte(0);
      char shown = '?';
      for (std::size_t slot = 0; slot < 5; ++slot)
        if (ColorFromName(colors[slot]) == color) shown = static_cast<char>('0' + slot);
      slots[row] += shown;
    }
  return slots;
}

// A cave filled with dirt inside its titanium border.
SlotMap DirtCave() {
  SlotMap slots;
  slots.fill("3" + std::string(Columns - 2, '0') + "3");
  slots.front() = slots.back() = std::string(Columns, '3');
  return slots;
}

void Set(SlotMap &slots, std::size_t row, std::size_t column, char slot) {
  slots[row][column] = slot;
}

TEST(HostileInput, GarbageInEveryInputFileEndsInTheToolsOwnMessage) {
  const std::string random = RandomBytes(1 << 16, 7);
  const std::string zeros(1 << 20, '\0');
  for (const std::string &garbage : {random, zeros}) {
    ExpectFailure(ConvertGame(garbage), WalkStartText() + ErrorText("[BDCFF] tag not found!"));
    ExpectFailure(ConvertTinyGame({{"graphics_original.txt", garbage}}),
                  BeforeInput() + ErrorText("Item not found in graphics file!"));
    ExpectFailure(ConvertTinyGame({{"html_structure.txt", garbage}}),
                  GameStartText("Tiny") +
                      ErrorText("#HTML-begin# not found in HTML structure file!"));
  }
}

TEST(HostileInput, FiftyMegabyteLineWithoutLineFeedIsReadAsOneLine) {
  std::string line(50 << 20, 'A');
  ExpectFailure(ConvertGame(line), WalkStartText() + ErrorText("[BDCFF] tag not found!"));
  // The same line as a remark is kept whole and reaches the page.
  line.replace(0, 7, "Remark=");
  const ToolResult result =
      ConvertTinyGame({{"html_structure.txt",
                        "# # # # # # # # #HTML-begin##Caves-begin#[Remark]#Caves-end##HTML-end#"},
                       {"caves.bd", Game("Long", "[cave]\n" + FivePalette + line +
                                                     "\n[objects]\n[/objects]\n[/cave]\n")}});
  EXPECT_EQ(result.output, GameStartText("Long") + CaveLine(1) + SummaryText(1));
  EXPECT_EQ(result.exitStatus, 0);
  ASSERT_EQ(result.written.count("Long.html"), 1U);
  EXPECT_EQ(result.written.at("Long.html").size(), line.size() - 7);
  EXPECT_EQ(result.written.at("Long.html").find_first_not_of('A'), std::string::npos);
}

// Every number the tool reads, given with 10, 11 and 30 digits: each counts as
// 2147483647, coordinates that large fall outside the grid, and the menu
// answer chooses no set.
TEST(HostileInput, HugeNumbersAreReadAsTheLargestNumber) {
  const std::string page = "# # # # # # # # #HTML-begin#[Levels] [Caves]\n#Caves-begin#"
                           "[Delay] [Time] [DiamondsRequired] [DiamondValue] "
                           "[BonusDiamondValue] [AmoebaTime] [MagicWallTime] [Level]\n"
                           "#Caves-end##HTML-end#";
  const std::string largest = "2147483647";
  for (const char *number : {"4294967296", "99999999999", "123456789012345678901234567890"}) {
    const std::string n = number;
    const std::string attributes = "CaveDelay=" + n + "\nCaveTime=" + n +
                                   "\nDiamondsRequired=" + n + "\nDiamondValue=" + n + " " + n +
                                   "\nAmoebaTime=" + n + " 1\nMagicWallTime=" + n + "\n";
    const std::string objects = "Point=" + n + " " + n + " DIAMOND\nLine=" + n + " 0 " + n +
                                " 5 DIAMOND\nRectangle=" + n + " " + n + " " + n + " " + n +
                                " DIAMOND\nFillRect=" + n + " 1 " + n + " 5 DIAMOND\nRaster=" + n +
                                " 1 " + n + " " + n + " 1 1 DIAMOND\nAdd=" + n + " " + n +
                                " DIRT DIAMOND\n";
    const std::string randomCave = "[cave]\n" + FivePalette + "RandSeed=" + n + " " + n +
                                   "\nRandomFill=BOULDER " + n +
                                   "\n[objects]\n[/objects]\n[/cave]\n";
    const std::string game = "[BDCFF]\n[game]\nName=Big\nLevels=" + n + "\nCaves=" + n + "\n\n" +
                             ObjectsCave(objects, attributes) + randomCave + "[/game]\n[/BDCFF]\n";
    const ToolResult result = ConvertTinyGame({{"caves.bd", game}, {"html_structure.txt", page}});
    EXPECT_EQ(result.output, GameStartText("Big") + CaveLine(1) + CaveLine(2) + SummaryText(2));
    EXPECT_EQ(result.exitStatus, 0);
    const std::string values = largest + " " + largest + " " + largest + " " + largest + " " +
                               largest + " " + largest + " " + largest + " 1\n";
    EXPECT_EQ(result.written.at("Big.html"),
              largest + " " + largest + "\n" + values + " -1 -1 -1 -1   1\n");
    // No object lands inside the grid; a probability above 255 takes no part.
    EXPECT_EQ(SlotsOf(result.written.at("Big_Cave_01.bmp")), DirtCave());
    EXPECT_EQ(SlotsOf(result.written.at("Big_Cave_02.bmp")), DirtCave());

    ToolRun menu;
    menu.files = TinyGameFiles();
    menu.input = "caves.bd\n" + n + "\n";
    const ToolResult custom = RunTool(menu);
    EXPECT_EQ(custom.output, BannerText + InputQuestionText + GraphicsMenuText +
                                 CustomQuestionText + ErrorText("Graphics file not found!"));
    EXPECT_EQ(custom.exitStatus, 1);
  }
}

// Objects reaching to the largest coordinates draw only their cells inside
// the grid, and finish at once however far they reach.
TEST(HostileInput, FarReachingObjectsDrawOnlyTheirCellsInsideTheGrid) {
  const std::string objects = "Point=2147483647 2147483647 BOULDER\n"
                              "Line=0 0 2147483647 2147483647 DIAMOND\n"
                              "Line=39 0 0 39 SPACE\n"
                              "Line=2147483647 0 0 2147483647 BOULDER\n"
                              "Line=0 20 2147483647 20 BOULDER\n"
                              "Raster=1 1 1000000000 1000000000 0 0 SPACE\n"
                              "Raster=38 1 1000000000 1000000000 0 1 WALL\n"
                              "FillRect=30 15 2147483647 2147483647 BOULDER SPACE\n";
  const ToolResult result = ConvertGame(Game("Far", ObjectsCave(objects)));
  EXPECT_EQ(result.output, GameStartText("Far") + CaveLine(1) + SummaryText(1));
  EXPECT_EQ(result.exitStatus, 0);
  SlotMap expected = DirtCave();
  for (std::size_t step = 0; step < Rows; ++step) Set(expected, step, step, '2');
  for (std::size_t step = 0; step < Rows; ++step) Set(expected, step, 39 - step, '4');
  for (std::size_t column = 0; column < Columns; ++column) Set(expected, 20, column, '1');
  Set(expected, 1, 1, '4');
  for (std::size_t row = 1; row < Rows; ++row) Set(expected, row, 38, '3');
  for (std::size_t row = 15; row < Rows; ++row)
    for (std::size_t column = 30; column < Columns; ++column)
      Set(expected, row, column, row == 15 || column == 30 ? '1' : '4');
  EXPECT_EQ(SlotsOf(result.written.at("Far_Cave_01.bmp")), expected);
}

TEST(HostileInput, TwoHundredCavesAreAllConvertedAndNumbered) {
  std::string caves;
  for (int cave = 1; cave <= 200; ++cave) caves += ObjectsCave("");
  const ToolResult result = ConvertGame(Game("Many", caves));
  std::string entries;
  std::set<std::string> names{"Many.html"};
  for (int cave = 1; cave <= 200; ++cave) {
    const std::string number = (cave < 10 ? "0" : "") + std::to_string(cave);
    names.insert("Many_Cave_" + number + ".bmp");
    entries += "<p>" + std::to_string(cave) + "  Many_Cave_" + number + ".bmp</p>\n";
  }
  EXPECT_EQ(result.output, GameStartText("Many") + CaveProgressLines(1, 200) + SummaryText(200));
  EXPECT_EQ(result.exitStatus, 0);
  std::set<std::string> written;
  for (const auto &[name, bytes] : result.written) {
    written.insert(name);
    if (name.ends_with(".bmp")) {
      EXPECT_EQ(bytes.size(), PictureBytes) << name;
    }
  }
  EXPECT_EQ(written, names);
  EXPECT_EQ(result.written.at("Many.html"), "<h1>Many</h1>\n" + entries + "</body>\n");
}

TEST(HostileInput, MillionLineObjectsSectionIsDrawnLineByLine) {
  std::string objects;
  objects.reserve(20 << 20);
  for (int line = 0; line < 1000000; ++line)
    objects += "Point=" + std::to_string(1 + line % 38) + " 5 BOULDER\n";
  objects += "Point=7 5 DIAMOND\n";
  const ToolResult result = ConvertGame(Game("Lines", ObjectsCave(objects)));
  EXPECT_EQ(result.output, GameStartText("Lines") + CaveLine(1) + SummaryText(1));
  EXPECT_EQ(result.exitStatus, 0);
  SlotMap expected = DirtCave();
  for (std::size_t column = 1; column <= 38; ++column) Set(expected, 5, column, '1');
  Set(expected, 5, 7, '2');
  EXPECT_EQ(SlotsOf(result.written.at("Lines_Cave_01.bmp")), expected);
}

// Tags and keys match exactly: a trailing blank or tab, or any other mix of
// capitals, makes an ordinary line of them.
TEST(HostileInput, DisguisedTagsAndKeysAreOrdinaryLines) {
  const std::string cave = ObjectsCave("Point=3 2 DIAMOND\n");
  const struct {
    std::string game;
    std::string output;
  } failing[] = {
      {"[BDCFF] \n[game]\nName=X\n\n" + cave + "[/game]\n[/BDCFF]\n",
       WalkStartText() + ErrorText("[BDCFF] tag not found!")},
      {"[BDCFF]\n[gAME]\nName=X\n\n" + cave + "[/game]\n[/BDCFF]\n",
       WalkStartText() + ErrorText("[game] tag not found!")},
      {"[BDCFF]\n[game]\nNAME=X\nName =Y\n\n" + cave + "[/game]\n[/BDCFF]\n",
       WalkStartText() + ErrorText("Name of BD game not found!")},
      {Game("X", "[cave]\nCOLORS=Black Red Green Blue White\n[objects]\n[/objects]\n[/cave]\n"),
       GameStartText("X") + CaveLine(1) + ErrorText("Colors not found!")},
      {Game("X", "[cave]\n" + FivePalette + "[objects]\t\n[/objects]\n[/cave]\n"),
       GameStartText("X") + CaveLine(1) + ErrorText("Unexpected end of file!")},
      {Game("X", "[cave]\n" + FivePalette + "[objects]\n[/objects] \n[/cave]\n"),
       GameStartText("X") + CaveLine(1) + ErrorText("[/objects] end-tag not found!")},
      {"[BDCFF]\n[game]\nName=X\n\n" + cave + "[/game]\t\n[/BDCFF]\n",
       GameStartText("X") + CaveLine(1) + ErrorText("[/game] end-tag not found!")},
  };
  for (const auto &bad : failing) {
    const ToolResult result = ConvertGame(bad.game);
    EXPECT_EQ(result.output, bad.output) << bad.game;
    EXPECT_EQ(result.exitStatus, 1) << bad.game;
  }

  // Keys in their lower-case spelling count; a tab is part of a word; blanks
  // after a value stay in a text and drop out of a name list.
  const std::string objects = "point=3 2 DIAMOND\nPOINT=4 2 DIAMOND\nPoint=5 2 DIAMOND \n"
                              "Point=6 2 DIAMOND\t\nPoint=7 2 diamond\n";
  const std::string game = "[BDCFF]\n[game]\nname=Blank \n\n[cave]\n"
                           "colors=Black Red Green Blue White \nColors=Black\tRed Green\n"
                           "colors=Black Red Green Blue White \n[objects]\n" +
                           objects + "[/objects]\n[/cave]\n[/game]\n[/BDCFF]\n";
  const ToolResult result = ConvertGame(game);
  EXPECT_EQ(result.output, GameStartText("Blank ") + CaveLine(1) +
                               WarningText("Unknown color found! Gray2 inserted.") +
                               WarningText("Unknown item in objects! Empty Space inserted.") +
                               SummaryText(1));
  EXPECT_EQ(result.exitStatus, 0);
  SlotMap expected = DirtCave();
  for (std::size_t column : {3U, 5U, 7U}) Set(expected, 2, column, '2');
  Set(expected, 2, 6, '4');
  ASSERT_EQ(result.written.count("Blank _Cave_01.bmp"), 1U);
  EXPECT_EQ(SlotsOf(result.written.at("Blank _Cave_01.bmp")), expected);
  EXPECT_EQ(result.written.count("Blank .html"), 1U);
}

TEST(HostileInput, GraphicsFileWithTenMegabyteLines) {
  const std::string huge(10 << 20, '7');
  // Only the name's characters of a heading count, however long it is.
  std::string longHeading = PlainGraphicsFile();
  longHeading.insert(longHeading.find("[Rockford]") + 10, huge);
  // A comment is skipped, however long it is.
  longHeading.insert(0, huge + "\n");
  const ToolResult result = ConvertTinyGame({{"graphics_original.txt", longHeading}});
  EXPECT_EQ(result.output, DialogText + TinyGameConversionText + SummaryText(TinyGameCaves));
  EXPECT_EQ(result.exitStatus, 0);

  std::string longRow = PlainGraphicsFile();
  longRow.insert(longRow.find("[Diamond]\n") + 10, huge);
  ExpectFailure(ConvertTinyGame({{"graphics_original.txt", longRow}}),
                BeforeInput() + ErrorText("Dimensions of items must be 16x16!"));
}

TEST(HostileInput, StructureFileOfAMillionMarks) {
  ExpectFailure(ConvertTinyGame({{"html_structure.txt", std::string(1000000, '#')}}),
                GameStartText("Tiny") +
                    ErrorText("#HTML-begin# not found in HTML structure file!"));
}

// The page is created before any picture, so a name that cannot name a file
// of the current folder stops the run before anything is written.
TEST(HostileInput, GameNamesThatNameNoFileHereAreRefused) {
  const std::string tooLong(10000, 'n');
  const std::string withNul("a\0b", 3);
  for (const std::string &name : {tooLong, std::string("./here"), std::string("sub/page"),
                                  std::string("back\\slash"), withNul}) {
    ToolRun run;
    run.files = TinyGameFiles();
    run.folders = {"sub"};
    run.files["caves.bd"] = Game(name, ObjectsCave(""));
    run.input = TinyGameAnswers;
    ExpectFailure(RunTool(run), GameStartText(name) + ErrorText("Creation of HTML file failed!"));
  }
}

// A full disk, made real with a file size limit: the tool says which file it
// could not write, and leaves no broken picture behind.
TEST(HostileInput, WriteFailuresAreReportedNotHidden) {
  const std::string threeCaves = Game("Full", ObjectsCave("") + ObjectsCave("") + ObjectsCave(""));
  const std::string head = "<h1>Full</h1>\n";

  const ToolResult picture = ConvertTinyGame({{"caves.bd", threeCaves}}, 100000);
  EXPECT_EQ(picture.output,
            GameStartText("Full") + CaveLine(1) + ErrorText("Creation of BMP pic failed!"));
  EXPECT_EQ(picture.exitStatus, 1);
  EXPECT_EQ(picture.written, (std::map<std::string, std::string>{{"Full.html", head}}));

  // Pictures fit the limit exactly; the page outgrows it at the third entry,
  // or with the tail.
  const std::string entry(300000, 'e');
  const struct {
    std::string structure;
    int lastCave;
  } pages[] = {
      {"# # # # # # # # #HTML-begin#<h1>[GameName]</h1>\n#Caves-begin#" + entry +
           "#Caves-end#</body>\n#HTML-end#",
       3},
      {"# # # # # # # # #HTML-begin#<h1>[GameName]</h1>\n#Caves-begin#x#Caves-end#" +
           std::string(PictureBytes, 't') + "#HTML-end#",
       3},
  };
  for (const auto &page : pages) {
    const ToolResult whole =
        ConvertTinyGame({{"caves.bd", threeCaves}, {"html_structure.txt", page.structure}});
    ASSERT_EQ(whole.exitStatus, 0);
    const ToolResult cut = ConvertTinyGame(
        {{"caves.bd", threeCaves}, {"html_structure.txt", page.structure}}, PictureBytes);
    EXPECT_EQ(cut.output, GameStartText("Full") + CaveProgressLines(1, page.lastCave) +
                              ErrorText("Creation of HTML file failed!"));
    EXPECT_EQ(cut.exitStatus, 1);
    for (int cave = 1; cave <= page.lastCave; ++cave) {
      const std::string name = "Full_Cave_0" + std::to_string(cave) + ".bmp";
      EXPECT_EQ(cut.written.at(name), whole.written.at(name));
    }
    // What the page holds is the start of the page, cut where the disk was full.
    ASSERT_EQ(cut.written.count("Full.html"), 1U);
    EXPECT_EQ(cut.written.at("Full.html"), whole.written.at("Full.html").substr(0, PictureBytes));
    EXPECT_EQ(cut.written.size(), static_cast<std::size_t>(page.lastCave) + 1);
  }
}

} // namespace
