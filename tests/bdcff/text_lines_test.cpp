// Reading text files line by line as bytes.
#include "bdcff/text_lines.h"
#include "test_support.h"

namespace {

using Lines = std::vector<std::pair<std::string, bool>>;

class TextLinesTest : public testing::Test {
protected:
  void TearDown() override { CloseTextLines(input); }

  // Every line of a file holding `bytes`, with the ended flag after each read.
  Lines LinesOf(const std::string &bytes) {
    EXPECT_TRUE(OpenTextLines(input, folder.Write("lines.txt", bytes).string()));
    Lines lines;
    do {
      std::string line = ReadTextLine(input);
      lines.emplace_back(std::move(line), TextLinesEnded(input));
    } while (!TextLinesEnded(input));
    return lines;
  }

  ScratchFolder folder;
  TextLines input;
};

TEST_F(TextLinesTest, LastLineWithAndWithoutLineFeed) {
  EXPECT_EQ(LinesOf("a\nb\n"), (Lines{{"a", false}, {"b", false}, {"", true}}));
  EXPECT_EQ(LinesOf("a\nb"), (Lines{{"a", false}, {"b", true}}));
  EXPECT_EQ(LinesOf(""), (Lines{{"", true}}));
  EXPECT_EQ(LinesOf("\n\n"), (Lines{{"", false}, {"", false}, {"", true}}));
}

TEST_F(TextLinesTest, CarriageReturnBelongsToTheLineEndOnlyBeforeALineFeed) {
  EXPECT_EQ(LinesOf("a\r\nb\r\n"), LinesOf("a\nb\n"));
  EXPECT_EQ(LinesOf("a\rb\n"), (Lines{{"a\rb", false}, {"", true}}));
  EXPECT_EQ(LinesOf("a\r"), (Lines{{"a\r", true}}));
  EXPECT_EQ(LinesOf("a\r\r\n"), (Lines{{"a\r", false}, {"", true}}));
}

TEST_F(TextLinesTest, ControlBytesAndLinesLongerThanTheBufferAreKeptWhole) {
  const std::string control("x\0y\x1az", 5);
  EXPECT_EQ(LinesOf(control + "\n"), (Lines{{control, false}, {"", true}}));
  const std::string longLine(200000, 'w');
  EXPECT_EQ(LinesOf(longLine + "\r\n" + longLine), (Lines{{longLine, false}, {longLine, true}}));
}

TEST_F(TextLinesTest, FoldersMissingFilesAndNulNamesDoNotOpen) {
  EXPECT_FALSE(OpenTextLines(input, folder.Path().string()));
  EXPECT_FALSE(OpenTextLines(input, (folder.Path() / "missing.txt").string()));
  const std::string real = folder.Write("real.txt", "x\n").string();
  EXPECT_TRUE(OpenTextLines(input, real));
  EXPECT_FALSE(OpenTextLines(input, real + std::string(1, '\0') + "y"));
  // A read from an input that could not be opened ends at once.
  EXPECT_EQ(ReadTextLine(input), "");
  EXPECT_TRUE(TextLinesEnded(input));
}

} // namespace
