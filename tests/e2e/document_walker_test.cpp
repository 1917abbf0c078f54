// The frame of tags around the game and its caves, run end to end.
#include "e2e/harness.h"
#include "test_support.h"

namespace {

// Converts the given game file with the tiny game's graphics and structure files.
ToolResult Convert(const std::string &game) {
  return ConvertTinyGame({{"caves.bd", game}});
}

// One small objects cave, complete with its frame lines.
std::string Cave(const std::string &name) {
  return "[cave]\nName=" + name +
         "\nColors=Black Black Orange Gray1 White\n[objects]\nPoint=3 2 DIAMOND\n[/objects]\n"
         "[/cave]\n";
}

const std::string Header = "[game]\nName=Frames\n\n";

void ExpectRun(const std::string &game, const std::string &output, int status) {
  const ToolResult result = Convert(game);
  EXPECT_EQ(result.output, output) << game;
  EXPECT_EQ(result.exitStatus, status) << game;
}

TEST(WalkDocument, ConvertsEveryCaveOfTheGame) {
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + Cave("Two") + Cave("Three") +
                "[/game]\n[/BDCFF]\n",
            GameStartText("Frames") + CaveProgressLines(1, 3) + SummaryText(3), 0);
}

TEST(WalkDocument, EveryTagIsAcceptedInItsThreeSpellings) {
  const char *spellings[3][8] = {
      {"[BDCFF]", "[game]", "[cave]", "[objects]", "[/objects]", "[/cave]", "[/game]", "[/BDCFF]"},
      {"[bdcff]", "[GAME]", "[CAVE]", "[OBJECTS]", "[/OBJECTS]", "[/CAVE]", "[/GAME]", "[/bdcff]"},
      {"[Bdcff]", "[Game]", "[Cave]", "[Objects]", "[/Objects]", "[/Cave]", "[/Game]", "[/Bdcff]"},
  };
  for (const auto &tag : spellings) {
    const std::string game = std::string(tag[0]) + "\n" + tag[1] + "\nName=Spelt\n\n" + tag[2] +
                             "\nColors=Red\n" + tag[3] + "\n" + tag[4] + "\n" + tag[5] + "\n" +
                             tag[6] + "\n" + tag[7] + "\n";
    ExpectRun(game, GameStartText("Spelt") + CaveProgressLines(1, 1) + SummaryText(1), 0);
  }
}

TEST(WalkDocument, LinesOutsideTheAwaitedTagsAreSkipped) {
  const std::string game = "; made by hand\nVersion=0.5\n[bdcff ]\n"
                           "[BDCFF]\nName=Not the header\n[cave]\n"
                           "[game]\nName=Skips\nCaves=2\n\n"
                           "Name=After the header\n[objects]\n[/cave]\n" +
                           Cave("One") + "between caves\n[highscore]\n1 nobody\n" + Cave("Two") +
                           "[/game]\n" + Cave("After the game") + "[game]\n" + Cave("Second game") +
                           "[/game]\n[/BDCFF]\n" + Cave("After the document") + "[/BDCFF";
  ExpectRun(game, GameStartText("Skips") + CaveProgressLines(1, 2) + SummaryText(2), 0);
}

TEST(WalkDocument, MissingOpeningTagsEndTheRun) {
  for (const char *opening : {"", "[BdCFF]\n", " [BDCFF]\n", "[BDCFF] \n", "[BDCFF]\t\n"})
    ExpectRun(std::string(opening) + Header + Cave("One") + "[/game]\n[/BDCFF]\n",
              WalkStartText() + ErrorText("[BDCFF] tag not found!"), 1);
  ExpectRun("[BDCFF]\n[GaMe]\nName=X\n\n" + Cave("One") + "[/game]\n[/BDCFF]\n",
            WalkStartText() + ErrorText("[game] tag not found!"), 1);
  ExpectRun("", WalkStartText() + ErrorText("[BDCFF] tag not found!"), 1);
}

// The tag test comes before the end test: a tag on the last line, without a
// line feed after it, is still found.
TEST(WalkDocument, TagsOnTheLastLineWithoutLineFeedAreFound) {
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + "[/game]\n[/BDCFF]",
            GameStartText("Frames") + CaveProgressLines(1, 1) + SummaryText(1), 0);
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + "[/game]",
            GameStartText("Frames") + CaveProgressLines(1, 1) +
                ErrorText("[/BDCFF] end-tag not found!"),
            1);
  ExpectRun("[BDCFF]", WalkStartText() + ErrorText("[game] tag not found!"), 1);
}

TEST(WalkDocument, GameWithoutCavesEndsTheRun) {
  ExpectRun("[BDCFF]\n" + Header + "[/game]\n[/BDCFF]\n",
            GameStartText("Frames") + ErrorText("No caves found!"), 1);
  ExpectRun("[BDCFF]\n" + Header + "[cave ]\n[/game]",
            GameStartText("Frames") + ErrorText("No caves found!"), 1);
}

// Here the end test comes before the cave test: a cave tag on the last line
// opens no cave.
TEST(WalkDocument, GameWithoutClosingTagEndsTheRun) {
  const std::string error = ErrorText("[/game] end-tag not found!");
  ExpectRun("[BDCFF]\n" + Header + Cave("One"),
            GameStartText("Frames") + CaveProgressLines(1, 1) + error, 1);
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + "[/BDCFF]\n",
            GameStartText("Frames") + CaveProgressLines(1, 1) + error, 1);
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + "[cave]",
            GameStartText("Frames") + CaveProgressLines(1, 1) + error, 1);
  ExpectRun("[BDCFF]\n" + Header + "[cave]", GameStartText("Frames") + error, 1);
}

TEST(WalkDocument, DocumentWithoutClosingTagEndsTheRunAfterItsCaves) {
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + Cave("Two") + "[/game]\n",
            GameStartText("Frames") + CaveProgressLines(1, 2) +
                ErrorText("[/BDCFF] end-tag not found!"),
            1);
}

TEST(ConvertNextCave, CaveWithoutClosingTag) {
  const std::string unclosed = "[cave]\nColors=Red\n[objects]\nPoint=3 2 DIAMOND\n[/objects]\n";
  // At the end of the input the run ends after the cave's own progress line.
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + unclosed,
            GameStartText("Frames") + CaveProgressLines(1, 2) +
                ErrorText("[/cave] end-tag not found!"),
            1);
  // Otherwise the search runs on to the next cave's closing tag, which takes
  // that cave with it.
  ExpectRun("[BDCFF]\n" + Header + unclosed + Cave("Swallowed") + Cave("Three") +
                "[/game]\n[/BDCFF]\n",
            GameStartText("Frames") + CaveProgressLines(1, 2) + SummaryText(2), 0);
}

TEST(WalkDocument, HeaderAndAttributeErrorsStopTheWalk) {
  ExpectRun("[BDCFF]\n[game]\nName=Closed late\n[cave]\n\n",
            WalkStartText() + "Name of BD game: Closed late.\n" +
                ErrorText("Game properties MUST end with white line!"),
            1);
  ExpectRun("[BDCFF]\n[game]\nDate=today\n\n" + Cave("One"),
            WalkStartText() + ErrorText("Name of BD game not found!"), 1);
  ExpectRun(
      "[BDCFF]\n" + Header + "[cave]\nName=Cut\nColors=Red\n",
      GameStartText("Frames") + CaveProgressLines(1, 1) + ErrorText("Unexpected end of file!"), 1);
  ExpectRun("[BDCFF]\n" + Header + Cave("One") + "[cave]\nName=Grey\n[map]\n[/map]\n[/cave]\n",
            GameStartText("Frames") + CaveProgressLines(1, 2) + ErrorText("Colors not found!"), 1);
}

TEST(WalkDocument, WarningsStandAmongTheProgressLines) {
  const std::string game = "[BDCFF]\n" + Header + Cave("One") +
                           "[cave]\nColors=Black Mauve\n[objects]\n[/objects]\n[/cave]\n" +
                           Cave("Three") + "[/game]\n[/BDCFF]\n";
  ExpectRun(game,
            GameStartText("Frames") + CaveProgressLines(1, 2) +
                WarningText("Unknown color found! Gray2 inserted.") + CaveProgressLines(3, 3) +
                SummaryText(3),
            0);
}

TEST(WalkDocument, CrLfLineEndsReadLikeLf) {
  std::string game = "Version=0.5\n[BDCFF]\n" + Header + Cave("One") +
                     "[cave]\nColors=Black Black Blue Gray3 White\n[map]\nWWWW\nWPXW\nWWWW\n"
                     "[/map]\n[/cave]\n[/game]\n[/BDCFF]\n";
  const ToolResult lf = Convert(game);
  std::string crlf;
  for (char c : game) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const ToolResult converted = Convert(crlf);
  EXPECT_EQ(lf.output, GameStartText("Frames") + CaveProgressLines(1, 2) + SummaryText(2));
  EXPECT_EQ(converted.output, lf.output);
  EXPECT_EQ(converted.exitStatus, 0);
  EXPECT_EQ(converted.written, lf.written);
}

// Numbers past sixty go on in plain decimal, and every cave is converted.
TEST(WalkDocument, MoreThanSixtyCavesAreAllConverted) {
  std::string game = "[BDCFF]\n" + Header;
  for (int cave = 1; cave <= 101; ++cave) game += Cave("Cave " + std::to_string(cave));
  ExpectRun(game + "[/game]\n[/BDCFF]\n",
            GameStartText("Frames") + CaveProgressLines(1, 99) + "Processing cave 100...\n" +
                "Processing cave 101...\n" + SummaryText(101),
            0);
}

// A game as files in the wild are written: a version line, sections and keys
// this tool does not keep, one value per level, seven colour names and a long
// remark. None of it is worth a warning.
TEST(WalkDocument, GameOfRealWorldShapeConvertsWithoutWarning) {
  const std::string remark(3000, 'r');
  const std::string game = "[BDCFF]\nVersion=0.5\n[game]\nName=Wild Caves\nAuthor=Someone\n"
                           "Levels=5\nCaves=2\nCharset=Original\nFontset=Original\n\n"
                           "[mapcodes]\nLength=1\n.=DIRT\nW=STEELWALL\n[/mapcodes]\n"
                           "[cave]\nName=Open Field\nRemark=" +
                           remark +
                           "\nSize=40 22 0 0 39 21\nFrameTime=5 5 5 5 5\nEffect=BOULDER DIAMOND\n"
                           "CaveTime=150 140 130 120 110\nDiamondsRequired=12 12 13 13 14\n"
                           "DiamondValue=10 15\nAmoebaTime=20 20 20 20 20\n"
                           "MagicWallTime=30 30 30 30 30\nRandSeed=10 20 30 40 50\n"
                           "RandomFill=BOULDER 50 DIAMOND 9\n"
                           "Colors=Black Black Orange Gray1 White Yellow LightBlue\n"
                           "[objects]\nPoint=3 2 INBOX\nLine=1 20 38 20 WALL\n[/objects]\n"
                           "[demo]\nrrr\n[/demo]\n[/cave]\n"
                           "[cave]\nName=Drawn\nColors=Black Black Red Gray2 White Blue Green\n"
                           "[map]\nWWWWW\nWP.XW\nWWWWW\n[/map]\n[/cave]\n"
                           "[/game]\n[highscore]\n[/highscore]\n[/BDCFF]\n";
  ExpectRun(game, GameStartText("Wild Caves") + CaveProgressLines(1, 2) + SummaryText(2), 0);
}

} // namespace
