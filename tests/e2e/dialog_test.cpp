// The console dialog, the banner and the summary, run end to end.
#include <gtest/gtest.h>

#include "e2e/harness.h"

namespace {

ToolResult RunWithAnswers(const std::string &answers) {
  ToolRun run;
  run.files = TinyGameFiles();
  run.input = answers;
  return RunTool(run);
}

std::string SuccessfulRun(const std::string &dialog) {
  return dialog + TinyGameConversionText + SummaryText(TinyGameCaves);
}

// Banner, the first question and the menu: the part every menu answer shares.
const std::string UpToMenu = BannerText + InputQuestionText + GraphicsMenuText;

TEST(Dialog, MenuChoicesOneToSevenOpenTheirSets) {
  for (const char *choice : {"1", "2", "3", "4", "5", "6", "7", "03", "2 please"}) {
    ToolRun run;
    run.files = TinyGameFiles();
    run.input = std::string("caves.bd\n") + choice + "\nb\n\n";
    const ToolResult result = RunTool(run);
    EXPECT_EQ(result.output, SuccessfulRun(DialogText)) << "choice " << choice;
    EXPECT_EQ(result.exitStatus, 0) << "choice " << choice;
  }
}

TEST(Dialog, EveryOtherChoiceAsksForACustomFile) {
  for (const char *choice : {"8", "9", "0", " 3", "", "x"}) {
    ToolRun run;
    run.files = TinyGameFiles();
    run.files["my tiles.txt"] = PlainGraphicsFile(); // a custom name with a blank in it
    run.input = std::string("caves.bd\n") + choice + "\nmy tiles.txt\np\n\n";
    const ToolResult result = RunTool(run);
    const std::string dialog =
        UpToMenu + CustomQuestionText + ExtensionQuestionText + SeparatorText;
    EXPECT_EQ(result.output, SuccessfulRun(dialog)) << "choice '" << choice << "'";
    EXPECT_EQ(result.exitStatus, 0);
  }
}

TEST(Dialog, ChosenSetMustExist) {
  ToolRun run;
  run.files = {{"caves.bd", TinyGameFiles().at("caves.bd")}};
  run.input = "caves.bd\n4\nb\n";
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.output, UpToMenu + ErrorText("Graphics file not found!"));
  EXPECT_EQ(result.exitStatus, 1);
}

TEST(Dialog, CustomGraphicsFileMustOpen) {
  ToolRun run;
  run.files = TinyGameFiles();
  run.folders = {"tiles"};
  const std::string names[] = {"missing.txt", "tiles", "graphics_original.txt ",
                               std::string("graphics_original.txt\0x", 23)};
  for (const std::string &name : names) {
    run.input = "caves.bd\n8\n" + name + "\nb\n";
    const ToolResult result = RunTool(run);
    EXPECT_EQ(result.output, UpToMenu + CustomQuestionText + ErrorText("Graphics file not found!"))
        << "name '" << name << "'";
    EXPECT_EQ(result.exitStatus, 1);
  }
}

TEST(Dialog, ExtensionAnswersLookAtTheFirstCharacterOnly) {
  for (const char *answer : {"b", "B", "bmp", "Bitmap", "g", "G", "p", "P", "png please"}) {
    const ToolResult result = RunWithAnswers(std::string("caves.bd\n1\n") + answer + "\n\n");
    EXPECT_EQ(result.output, SuccessfulRun(DialogText)) << "answer " << answer;
    EXPECT_EQ(result.exitStatus, 0);
  }
}

TEST(Dialog, UnknownExtensionAnswerEndsTheRun) {
  for (const char *answer : {"x", "", " b", "\r"}) {
    const ToolResult result = RunWithAnswers(std::string("caves.bd\n1\n") + answer + "\n\n");
    EXPECT_EQ(result.output,
              UpToMenu + ExtensionQuestionText + ErrorText("Unexpected input from keyboard!"))
        << "answer '" << answer << "'";
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.written.empty());
  }
}

TEST(Dialog, MissingInputFileEndsTheRunBeforeTheMenu) {
  ToolRun run;
  run.files = TinyGameFiles();
  run.folders = {"folder.bd"};
  for (const char *name : {"nothing.bd", "folder.bd", "", "caves.bd "}) {
    run.input = std::string(name) + "\n1\nb\n";
    const ToolResult result = RunTool(run);
    EXPECT_EQ(result.output, BannerText + InputQuestionText + ErrorText("Input file not found!"))
        << "name '" << name << "'";
    EXPECT_EQ(result.exitStatus, 1);
  }
}

TEST(Dialog, InputFileNameHoldingANulIsNotCutShort) {
  const ToolResult result = RunWithAnswers(std::string("caves.bd\0.txt\n1\nb\n", 18));
  EXPECT_EQ(result.output, BannerText + InputQuestionText + ErrorText("Input file not found!"));
  EXPECT_EQ(result.exitStatus, 1);
}

TEST(Dialog, CarriageReturnsBeforeLineFeedsBelongToTheLineEnd) {
  const ToolResult result = RunWithAnswers("caves.bd\r\n8\r\ngraphics_santa.txt\r\nP\r\n\r\n");
  EXPECT_EQ(result.output,
            SuccessfulRun(UpToMenu + CustomQuestionText + ExtensionQuestionText + SeparatorText));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(Dialog, EndOfInputGivesEmptyAnswers) {
  // No answer at all: the empty input file name cannot be opened.
  ToolResult result = RunWithAnswers("");
  EXPECT_EQ(result.output, BannerText + InputQuestionText + ErrorText("Input file not found!"));
  EXPECT_EQ(result.exitStatus, 1);

  // Input ends after the menu answer: the extension answer is empty.
  result = RunWithAnswers("caves.bd\n1");
  EXPECT_EQ(result.output,
            UpToMenu + ExtensionQuestionText + ErrorText("Unexpected input from keyboard!"));
  EXPECT_EQ(result.exitStatus, 1);

  // Input ends after the last answer: the final wait returns at once.
  result = RunWithAnswers("caves.bd\n1\nb");
  EXPECT_EQ(result.output, SuccessfulRun(DialogText));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(Run, CommandLineArgumentsChangeNothing) {
  ToolRun run;
  run.files = TinyGameFiles();
  run.arguments = {"other.bd", "--help", "3"};
  run.input = "caves.bd\n1\nb\n\n";
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.output, SuccessfulRun(DialogText));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(Summary, TextTypedBeforeEnterIsIgnored) {
  const ToolResult result = RunWithAnswers("caves.bd\n1\nb\nanything at all\nmore\n");
  EXPECT_EQ(result.output, SuccessfulRun(DialogText));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(Banner, EightLinesOf47CharactersAndAnEmptyLine) {
  const ToolResult result = RunWithAnswers("");
  std::size_t start = 0;
  for (int line = 0; line < 8; ++line) {
    const std::size_t end = result.output.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(end - start, 47u) << "line " << line + 1;
    start = end + 1;
  }
  EXPECT_EQ(result.output.substr(start, 1), "\n");
  EXPECT_EQ(result.output.substr(0, BannerText.size()), BannerText);
}

} // namespace
