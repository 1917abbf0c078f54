// Reading text files line by line as bytes.
#include "bdcff/text_lines.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TextLinesTest : public testing::Test {
protected:
  void TearDown() override {
    CloseTextLines(input);
    fs::remove_all(folder);
  }

  // Every line of a file holding `bytes`, with the ended flag after each read.
  std::vector<std::pair<std::string, bool>> LinesOf(const std::string &bytes) {
    const fs::path path = folder / "lines.txt";
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_TRUE(OpenTextLines(input, path.string()));
    std::vector<std::pair<std::string, bool>> lines;
    do {
      std::string line = ReadTextLine(input);
      lines.emplace_back(std::move(line), TextLinesEnded(input));
    } while (!TextLinesEnded(input));
    return lines;
  }

  fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "text-lines-XXXXXX").string();
    return fs::path(mkdtemp(pattern.data()));
  }();
  TextLines input;
};

using Lines = std::vector<std::pair<std::string, bool>>;

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

TEST_F(TextLinesTest, ControlBytesAreOrdinaryCharacters) {
  const std::string bytes("x\0y\x1a"
                          "z\n",
                          6);
  EXPECT_EQ(LinesOf(bytes), (Lines{{std::string("x\0y\x1a"
                                                "z",
                                                5),
                                    false},
                                   {"", true}}));
}

TEST_F(TextLinesTest, LinesLongerThanTheBufferAreWhole) {
  const std::string longLine(200000, 'w');
  EXPECT_EQ(LinesOf(longLine + "\r\n" + longLine), (Lines{{longLine, false}, {longLine, true}}));
}

TEST_F(TextLinesTest, FoldersMissingFilesAndNulNamesDoNotOpen) {
  EXPECT_FALSE(OpenTextLines(input, folder.string()));
  EXPECT_FALSE(OpenTextLines(input, (folder / "missing.txt").string()));
  std::ofstream(folder / "real.txt") << "x\n";
  EXPECT_TRUE(OpenTextLines(input, (folder / "real.txt").string()));
  EXPECT_FALSE(OpenTextLines(input, (folder / "real.txt").string() + std::string(1, '\0') + "y"));
  // A read from an input that could not be opened ends at once.
  EXPECT_EQ(ReadTextLine(input), "");
  EXPECT_TRUE(TextLinesEnded(input));
}

} // namespace
