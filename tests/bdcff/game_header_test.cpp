// The game header: its keys, their spellings, and the two ways it can fail.
#include "bdcff/game_header.h"
#include "driver/console_dialog.h"
#include "test_support.h"

namespace {

// Reads the header from a fresh record and returns what it printed.
std::string ReadHeaderOf(const std::string &text) {
  GameRecord = GameProperties{};
  OpenInputText(text);
  return OutputOf(ReadGameHeader);
}

void ExpectHeaderToEndRun(const std::string &text, const std::string &transcript) {
  GameRecord = GameProperties{};
  OpenInputText(text);
  EXPECT_TRANSCRIPT_AND_EXIT(ReadGameHeader(), transcript) << text;
}

TEST(ReadGameHeader, FillsEveryFieldInBothKeySpellingsAndStopsAtTheEmptyLine) {
  for (const bool lowerCase : {false, true}) {
    const auto key = [lowerCase](const std::string &name) {
      return (lowerCase ? LowerCase(name) : name) + "=";
    };
    const std::string output = ReadHeaderOf(
        key("Name") + "Boulders\n" + key("Date") + "1999\n" + key("Author") + " A. Digger \n" +
        key("WWW") + "www.example.org\n" + key("Charset") + "Original\n" + key("Fontset") +
        "Plain\n" + key("Levels") + "5\n" + key("Caves") + "20\n\nName=Not a header line\n");
    EXPECT_EQ(output, "Name of BD game: Boulders.\n");
    EXPECT_EQ(GameRecord.Name, "Boulders");
    EXPECT_EQ(GameRecord.Date, "1999");
    EXPECT_EQ(GameRecord.Author, " A. Digger "); // the value stands exactly as written
    EXPECT_EQ(GameRecord.WWW, "www.example.org");
    EXPECT_EQ(GameRecord.Charset, "Original");
    EXPECT_EQ(GameRecord.Fontset, "Plain");
    EXPECT_EQ(GameRecord.Levels, 5);
    EXPECT_EQ(GameRecord.Caves, 20);
    // The line after the empty one is left for the cave loop.
    EXPECT_EQ(ReadTextLine(InputFile), "Name=Not a header line");
  }
}

TEST(ReadGameHeader, OtherSpellingsAndUnknownLinesArePassedOver) {
  ReadHeaderOf("Name=Kept\nNAME=Shouted\n Name=Indented\nDate =x\n[objects]\nVersion=0.5\n\n");
  EXPECT_EQ(GameRecord.Name, "Kept");
  EXPECT_EQ(GameRecord.Date, "");
}

TEST(ReadGameHeader, LaterLinesWinAndEveryNameIsPrinted) {
  const std::string output = ReadHeaderOf("Name=First\nCaves=2\nName=Second\nCaves=3\n\n");
  EXPECT_EQ(output, "Name of BD game: First.\nName of BD game: Second.\n");
  EXPECT_EQ(GameRecord.Name, "Second");
  EXPECT_EQ(GameRecord.Caves, 3);
}

TEST(ReadGameHeader, NumbersJoinTheirDigitsAcrossBlanks) {
  const std::pair<const char *, std::int32_t> cases[] = {
      {"Levels=1 0", 10}, {"Levels= 5", 5}, {"Levels=", 0}, {"Levels=5 ", 5}};
  for (const auto &[line, levels] : cases) {
    ReadHeaderOf(std::string("Name=N\n") + line + "\n\n");
    EXPECT_EQ(GameRecord.Levels, levels) << line;
  }
}

TEST(ReadGameHeader, CrLfLineEndsReadLikeLfAndTheInputMayEndAfterALineFeed) {
  ReadHeaderOf("Name=Boulders\r\nDate=1999\r\n\r\nnext\r\n");
  EXPECT_EQ(GameRecord.Name, "Boulders");
  EXPECT_EQ(GameRecord.Date, "1999");
  EXPECT_EQ(ReadTextLine(InputFile), "next");
  ReadHeaderOf("Name=Boulders\n");
  EXPECT_EQ(GameRecord.Name, "Boulders");
  EXPECT_TRUE(TextLinesEnded(InputFile));
}

TEST(ReadGameHeaderDeathTest, HeaderWithoutItsEmptyLineEndsTheRun) {
  const std::string error =
      "Name of BD game: Boulders.\n" + ErrorReport("Game properties MUST end with white line!");
  for (const char *tag : {"[cave]", "[CAVE]", "[Cave]"})
    ExpectHeaderToEndRun(std::string("Name=Boulders\n") + tag + "\n\n", error);
  // The last line, without a line feed, still counts its name.
  ExpectHeaderToEndRun("Date=1999\nName=Boulders", error);
}

TEST(ReadGameHeaderDeathTest, HeaderWithoutANameEndsTheRun) {
  const std::string error = ErrorReport("Name of BD game not found!");
  ExpectHeaderToEndRun("\nName=Too late\n", error);
  ExpectHeaderToEndRun("NAME=Boulders\n Name=Boulders\n\n", error);
  ExpectHeaderToEndRun("Name=\n\n", "Name of BD game: .\n" + error);
  ExpectHeaderToEndRun("", error);
}

} // namespace
