// Helpers whose rules the end-to-end cases reach only now and then, and the
// run that needs more than a case file: standard input held open.
#include "bdcff/line_tokens.h"
#include "bdcff/text_lines.h"
#include "support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Another character repeats the digit before it, and large numbers stop at
// the largest int.
TEST(Units, ParseNumber) {
  // clang-format off
  const std::pair<const char *, std::int32_t> cases[] = {
      {"", 0}, {"120", 120}, {"0042", 42}, {"12a", 122}, {"a5", 5}, {"1 2", 112}, {"-3", 3},
      {"4\t", 44}, {"xyz", 0}, {"9z", 99}, {"2147483647", 2147483647},
      {"2147483648", 2147483647}, {"123456789012345678901234567890", 2147483647}};
  // clang-format on
  for (const auto &[text, number] : cases) EXPECT_EQ(ParseNumber(text), number) << text;
}

// Readers that need no line end after their token: each case reads from
// `from` and must give `token` and leave the position at `to`.
TEST(Units, TokenReaders) {
  // clang-format off
  using Reader = std::string (*)(std::string_view, std::size_t &);
  const struct { Reader read; const char *line; std::size_t from; const char *token;
                 std::size_t to; } cases[] = {
      {ReadMidWord, "BOULDER 50", 0, "BOULDER", 8}, {ReadMidWord, "1  2 DIRT", 2, "", 3},
      {ReadWord, "Orange  White", 0, "Orange", 7},  {ReadWord, "Orange  White", 7, "", 8},
      {ReadWord, "Orange  White", 8, "White", 13},  {ReadWord, "Red\tBlue", 0, "Red\tBlue", 8},
      {ReadWord, "12 34", 5, "", 5},                {ReadWord, "12 34", 9, "", 9},
      {ReadRestWord, "10 5 Magic Wall", 5, "MagicWall", 15},
      {ReadRestWord, "DIRT   ", 0, "DIRT", 7},    {ReadRestWord, "5", 30, "", 30}};
  // clang-format on
  for (const auto &c : cases) {
    std::size_t position = c.from;
    EXPECT_EQ(c.read(c.line, position), c.token) << c.line << " from " << c.from;
    EXPECT_EQ(position, c.to) << c.line << " from " << c.from;
  }
  std::size_t position = 0;
  EXPECT_EQ(ReadMidNumber("12 34", position), 12);
  EXPECT_EQ(ReadNumber("12 34", position), 34);
}

// Every line of a file, with "$" where a read marked the input as ended.
std::string LinesOf(const std::string &bytes) {
  const ScratchFolder folder;
  WriteFile(folder.Path() / "lines.txt", bytes);
  TextLines input;
  EXPECT_TRUE(OpenTextLines(input, (folder.Path() / "lines.txt").string()));
  std::string lines;
  do {
    lines += ReadTextLine(input);
    lines += TextLinesEnded(input) ? "$" : "|";
  } while (!TextLinesEnded(input));
  CloseTextLines(input);
  return lines;
}

// A carriage return belongs to the line end only right before a line feed,
// also where that pair straddles the reader's buffer; a last chunk of one
// byte is read like any other.
TEST(Units, TextLines) {
  EXPECT_EQ(LinesOf("a\nb\n"), "a|b|$");
  EXPECT_EQ(LinesOf("a\r\nb"), "a|b$");
  EXPECT_EQ(LinesOf(""), "$");
  EXPECT_EQ(LinesOf("a\rb\r\r\n\r"), "a\rb\r|\r$");
  EXPECT_EQ(LinesOf(std::string("x\0y\x1a", 4)), std::string("x\0y\x1a$", 5));
  for (std::size_t length : {65535U, 65536U, 200000U}) {
    const std::string line(length, 'w'), lines = LinesOf(line + "\r\n" + line + "!");
    EXPECT_TRUE(lines == line + "|" + line + "!$") << length << ": " << lines.size() << " bytes";
  }
}

// Whether the tool's end of `output` has been reached within a moment.
bool Closed(int output, std::string &printed) {
  pollfd ready{output, POLLIN, 0};
  char buffer[4096];
  while (poll(&ready, 1, 300) > 0) {
    const ssize_t got = read(output, buffer, sizeof buffer);
    if (got <= 0) return true;
    printed.append(buffer, static_cast<std::size_t>(got));
  }
  return false;
}

// Each question shows before the tool waits for its answer; after the summary
// or an error it waits for ENTER, however long that takes, and only then ends.
TEST(Run, AsksBeforeEachAnswerAndWaitsForEnter) {
  const ScratchFolder folder;
  WriteFile(folder.Path() / "graphics_original.txt", SourceFile("data/graphics_original.txt"));
  WriteFile(folder.Path() / "html_structure.txt", SourceFile("data/html_structure.txt"));
  WriteFile(folder.Path() / "caves.bd", SourceFile("examples/sample_caves.bd"));
  const std::vector<std::string> success{"caves.bd", "1", "b", ""}, error{"none.bd", ""};
  for (const auto &[answers, status] : {std::pair{success, 0}, std::pair{error, 1}}) {
    int input[2], output[2];
    ASSERT_EQ(pipe2(input, O_CLOEXEC) | pipe2(output, O_CLOEXEC), 0); // the tool's own ends only
    const int child = StartTool(folder.Path(), input[0], output[1]);
    close(input[0]);
    close(output[1]);
    for (const std::string &answer : answers) {
      std::string printed; // since the last answer: a question, or the last line
      const auto asks = [&] { return printed.ends_with(">> ") || printed.ends_with("exit.\n"); };
      bool ended = false;
      for (int quiet = 0; quiet < 50 && !asks() && !(ended = Closed(output[0], printed)); ++quiet)
        ;
      ASSERT_TRUE(!ended && !Closed(output[0], printed) && asks()) << answer << ":\n" << printed;
      const std::string line = answer + "\n";
      ASSERT_EQ(write(input[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
    close(input[1]);
    std::string rest;
    EXPECT_TRUE(Closed(output[0], rest) && rest.empty()) << rest;
    close(output[0]);
    EXPECT_EQ(WaitForTool(child), status);
  }
}

} // namespace
