// Numbers, words and cave numbers cut out of a line.
#include "bdcff/line_tokens.h"
#include "test_support.h"

namespace {

TEST(ParseNumber, DigitsOtherCharactersAndOverflow) {
  const std::pair<const char *, std::int32_t> cases[] = {
      {"", 0},
      {"120", 120},
      {"0042", 42},
      {"000", 0},
      // Another character repeats the digit before it.
      {"12a", 122},
      {"a5", 5},
      {"1 2", 112},
      {"-3", 3},
      {"4\t", 44},
      {"xyz", 0},
      {"9z", 99},
      // Large numbers stop at the largest int instead of wrapping.
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"123456789012345678901234567890", 2147483647},
      {"00000000000000000000000000012", 12}};
  for (const auto &[text, number] : cases) EXPECT_EQ(ParseNumber(text), number) << text;
}

TEST(TwoDigitText, PadsOneDigitAndKeepsLargerNumbersWhole) {
  EXPECT_EQ(TwoDigitText(1), "01");
  EXPECT_EQ(TwoDigitText(10), "10");
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
  const std::pair<std::string, std::size_t> cases[] = {
      {"12 3", 3},  // the token runs to the end of the line
      {"10 5 ", 3}, // the blank after it is the line's last character
      {"12", 2},    // started at the end
      {"12", 7},    // started past the end
      {"", 0}};
  for (const auto &c : cases) {
    std::size_t position = c.second;
    EXPECT_REPORTS_ERROR(ReadMidNumber(c.first, position), "Unexpected end of line!")
        << "line '" << c.first << "' from " << c.second;
  }
  std::size_t position = 0;
  EXPECT_REPORTS_ERROR(ReadMidWord("DIAMOND", position), "Unexpected end of line!");
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
