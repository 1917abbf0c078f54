// Numbers, words and cave numbers cut out of a line.
#include "bdcff/line_tokens.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

TEST(ParseNumber, ReadsDigitStrings) {
  EXPECT_EQ(ParseNumber(""), 0);
  EXPECT_EQ(ParseNumber("7"), 7);
  EXPECT_EQ(ParseNumber("120"), 120);
  EXPECT_EQ(ParseNumber("0042"), 42);
  EXPECT_EQ(ParseNumber("05"), 5);
  EXPECT_EQ(ParseNumber("000"), 0);
}

TEST(ParseNumber, OtherCharactersRepeatTheDigitBeforeThem) {
  EXPECT_EQ(ParseNumber("12a"), 122);
  EXPECT_EQ(ParseNumber("a5"), 5);
  EXPECT_EQ(ParseNumber("1 2"), 112);
  EXPECT_EQ(ParseNumber("-3"), 3);
  EXPECT_EQ(ParseNumber("4\t"), 44);
  EXPECT_EQ(ParseNumber("xyz"), 0);
}

TEST(ParseNumber, LargeNumbersStopAtTheLargestInt) {
  EXPECT_EQ(ParseNumber("2147483647"), 2147483647);
  EXPECT_EQ(ParseNumber("2147483648"), 2147483647);
  EXPECT_EQ(ParseNumber("9999999999"), 2147483647);
  EXPECT_EQ(ParseNumber("123456789012345678901234567890"), 2147483647);
  EXPECT_EQ(ParseNumber("00000000000000000000000000012"), 12);
  EXPECT_EQ(ParseNumber("9z"), 99);
}

TEST(TwoDigitText, PadsOneDigitAndKeepsLargerNumbersWhole) {
  EXPECT_EQ(TwoDigitText(1), "01");
  EXPECT_EQ(TwoDigitText(9), "09");
  EXPECT_EQ(TwoDigitText(10), "10");
  EXPECT_EQ(TwoDigitText(60), "60");
  EXPECT_EQ(TwoDigitText(61), "61");
  EXPECT_EQ(TwoDigitText(100), "100");
}

TEST(ReadMidNumber, TakesANumberThatTheLineGoesOnAfter) {
  std::size_t position = 0;
  EXPECT_EQ(ReadMidNumber("12 34", position), 12);
  EXPECT_EQ(position, 3u);
  position = 0;
  EXPECT_EQ(ReadMidWord("BOULDER 50", position), "BOULDER");
  EXPECT_EQ(position, 8u);
  // Two blanks: the reader started on the second one takes an empty token.
  position = 2;
  EXPECT_EQ(ReadMidNumber("1  2 DIRT", position), 0);
  EXPECT_EQ(position, 3u);
}

TEST(ReadMidNumberDeathTest, LineEndingAtTheTokenIsAnError) {
  const auto expectEndOfLine = [](const std::string &line, std::size_t start) {
    EXPECT_REPORTS_ERROR(
        {
          std::size_t position = start;
          ReadMidNumber(line, position);
        },
        "Unexpected end of line!")
        << "line '" << line << "' from " << start;
  };
  expectEndOfLine("12 3", 3);  // the token runs to the end of the line
  expectEndOfLine("10 5 ", 3); // the blank after it is the line's last character
  expectEndOfLine("12", 2);    // started at the end
  expectEndOfLine("12", 7);    // started past the end
  expectEndOfLine("", 0);
}

TEST(ReadMidWordDeathTest, ErrorTextIsPrinted) {
  EXPECT_REPORTS_ERROR(
      {
        std::size_t position = 0;
        ReadMidWord("DIAMOND", position);
      },
      "Unexpected end of line!");
}

TEST(ReadNumber, TakesATokenUpToABlankOrTheEnd) {
  std::size_t position = 3;
  EXPECT_EQ(ReadNumber("12 34", position), 34);
  EXPECT_EQ(position, 5u);
  position = 0;
  EXPECT_EQ(ReadWord("Orange  White", position), "Orange");
  EXPECT_EQ(position, 7u);
  EXPECT_EQ(ReadWord("Orange  White", position), "");
  EXPECT_EQ(position, 8u);
  EXPECT_EQ(ReadWord("Orange  White", position), "White");
  EXPECT_EQ(position, 13u);
  position = 0;
  EXPECT_EQ(ReadWord("Red\tBlue", position), "Red\tBlue");
}

TEST(ReadNumber, AtOrPastTheEndGivesTheEmptyTokenAndStays) {
  std::size_t position = 0;
  EXPECT_EQ(ReadNumber("", position), 0);
  EXPECT_EQ(position, 0u);
  position = 5;
  EXPECT_EQ(ReadWord("12 34", position), "");
  EXPECT_EQ(position, 5u);
  position = 9;
  EXPECT_EQ(ReadNumber("12 34", position), 0);
  EXPECT_EQ(position, 9u);
}

TEST(ReadRestWord, JoinsTheRestWithoutBlanks) {
  std::size_t position = 5;
  EXPECT_EQ(ReadRestWord("10 5 Magic Wall", position), "MagicWall");
  EXPECT_EQ(position, 15u);
  EXPECT_EQ(ReadRestWord("10 5 Magic Wall", position), "");
  EXPECT_EQ(position, 15u);
  position = 7;
  EXPECT_EQ(ReadRestNumber("Levels=1 0", position), 10);
  position = 0;
  EXPECT_EQ(ReadRestWord("DIRT   ", position), "DIRT");
  position = 30;
  EXPECT_EQ(ReadRestNumber("5", position), 0);
  EXPECT_EQ(position, 30u);
}

} // namespace
