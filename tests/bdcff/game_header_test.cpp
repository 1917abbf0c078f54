// The game header: its keys, their spellings, and the two ways it can fail.
#include "bdcff/game_header.h"
#include "bdcff/transcript_pattern.h"
#include "cave/cave_test_support.h"
#include "driver/console_dialog.h"

#include <gtest/gtest.h>

namespace {

using testing::ExitedWithCode;

// Reads the header from a fresh record and returns what it printed.
std::string ReadHeaderOf(const std::string &text) {
  GameRecord = GameProperties{};
  OpenInputText(text);
  testing::internal::CaptureStdout();
  ReadGameHeader();
  return testing::internal::GetCapturedStdout();
}

void ExpectHeaderToEndRun(const std::string &text, const std::string &transcript) {
  GameRecord = GameProperties{};
  OpenInputText(text);
  EXPECT_EXIT(RunWithOutputOnStderr(ReadGameHeader), ExitedWithCode(1), WholeTranscript(transcript))
      << text;
}

TEST(ReadGameHeader, FillsEveryFieldAndStopsAtTheEmptyLine) {
  const std::string output = ReadHeaderOf("Name=Boulders\n"
                                          "Date=1999\n"
                                          "Author= A. Digger \n"
                                          "WWW=www.example.org\n"
                                          "Charset=Original\n"
                                          "Fontset=Plain\n"
                                          "Levels=5\n"
                                          "Caves=20\n"
                                          "\n"
                                          "Name=Not a header line\n");
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

TEST(ReadGameHeader, AcceptsLowerCaseKeys) {
  ReadHeaderOf("name=Boulders\ndate=2001\nauthor=Me\nwww=here\ncharset=C\nfontset=F\n"
               "levels=3\ncaves=4\n\n");
  EXPECT_EQ(GameRecord.Name, "Boulders");
  EXPECT_EQ(GameRecord.Date, "2001");
  EXPECT_EQ(GameRecord.Author, "Me");
  EXPECT_EQ(GameRecord.WWW, "here");
  EXPECT_EQ(GameRecord.Charset, "C");
  EXPECT_EQ(GameRecord.Fontset, "F");
  EXPECT_EQ(GameRecord.Levels, 3);
  EXPECT_EQ(GameRecord.Caves, 4);
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
  const struct {
    const char *line;
    std::int32_t levels;
  } cases[] = {{"Levels=1 0", 10}, {"Levels= 5", 5}, {"Levels=", 0}, {"Levels=5 ", 5}};
  for (const auto &c : cases) {
    ReadHeaderOf(std::string("Name=N\n") + c.line + "\n\n");
    EXPECT_EQ(GameRecord.Levels, c.levels) << c.line;
  }
}

TEST(ReadGameHeader, CrLfLineEndsReadLikeLf) {
  ReadHeaderOf("Name=Boulders\r\nDate=1999\r\n\r\nnext\r\n");
  EXPECT_EQ(GameRecord.Name, "Boulders");
  EXPECT_EQ(GameRecord.Date, "1999");
  EXPECT_EQ(ReadTextLine(InputFile), "next");
}

TEST(ReadGameHeader, InputEndingWithALineFeedEndsTheHeader) {
  ReadHeaderOf("Name=Boulders\n");
  EXPECT_EQ(GameRecord.Name, "Boulders");
  EXPECT_TRUE(TextLinesEnded(InputFile));
}

TEST(ReadGameHeaderDeathTest, CaveTagBeforeTheEmptyLineEndsTheRun) {
  for (const char *tag : {"[cave]", "[CAVE]", "[Cave]"})
    ExpectHeaderToEndRun(std::string("Name=Boulders\n") + tag + "\n\n",
                         "Name of BD game: Boulders.\n"
                         "Error: Game properties MUST end with white line!\n"
                         "Press ENTER to exit.\n");
}

TEST(ReadGameHeaderDeathTest, LastLineWithoutLineFeedEndsTheRunAfterItsName) {
  ExpectHeaderToEndRun("Date=1999\nName=Boulders",
                       "Name of BD game: Boulders.\n"
                       "Error: Game properties MUST end with white line!\n"
                       "Press ENTER to exit.\n");
}

TEST(ReadGameHeaderDeathTest, HeaderWithoutANameEndsTheRun) {
  const std::string error = "Error: Name of BD game not found!\nPress ENTER to exit.\n";
  ExpectHeaderToEndRun("\nName=Too late\n", error);
  ExpectHeaderToEndRun("NAME=Boulders\n Name=Boulders\n\n", error);
  ExpectHeaderToEndRun("Name=\n\n", "Name of BD game: .\n" + error);
  ExpectHeaderToEndRun("", error);
}

} // namespace
