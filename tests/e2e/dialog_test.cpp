// The console dialog, the banner and the summary, run end to end.
#include "e2e/harness.h"
#include "test_support.h"

namespace {

ToolResult RunWithAnswers(const std::string &answers,
                          const std::vector<std::string> &arguments = {}) {
  ToolRun run;
  run.files = TinyGameFiles();
  run.files["my tiles.txt"] = PlainGraphicsFile(); // a custom name with a blank in it
  run.folders = {"tiles", "folder.bd"};
  run.input = answers;
  run.arguments = arguments;
  return RunTool(run);
}

std::string SuccessfulRun(const std::string &dialog) {
  return dialog + TinyGameConversionText + SummaryText(TinyGameCaves);
}

// Banner, the first question and the menu: the part every menu answer shares.
const std::string UpToMenu = BannerText + InputQuestionText + GraphicsMenuText;
const std::string CustomDialog =
    UpToMenu + CustomQuestionText + ExtensionQuestionText + SeparatorText;

void ExpectTranscript(const std::string &answers, const std::string &output) {
  const ToolResult result = RunWithAnswers(answers);
  EXPECT_EQ(result.output, output) << "answers '" << answers << "'";
  const bool success = output.ends_with(SummaryText(TinyGameCaves));
  EXPECT_EQ(result.exitStatus, success ? 0 : 1) << "answers '" << answers << "'";
  EXPECT_TRUE(success || result.written.empty()) << "answers '" << answers << "'";
}

// The menu and extension answers look at their first character only; text
// typed before the final ENTER is ignored; the input may end after the last
// answer, the final wait then returns at once.
TEST(Dialog, AnswersThatConvertTheGame) {
  for (const char *choice : {"1", "2", "3", "4", "5", "6", "7", "03", "2 please"})
    ExpectTranscript(std::string("caves.bd\n") + choice + "\nb\n\n", SuccessfulRun(DialogText));
  for (const char *answer : {"B", "bmp", "g", "G", "p", "P", "png please"})
    ExpectTranscript(std::string("caves.bd\n1\n") + answer + "\n\n", SuccessfulRun(DialogText));
  ExpectTranscript("caves.bd\n1\nb\nanything at all\nmore\n", SuccessfulRun(DialogText));
  ExpectTranscript("caves.bd\n1\nb", SuccessfulRun(DialogText));
  // Every other menu choice asks for a custom file.
  for (const char *choice : {"8", "9", "0", " 3", "", "x"})
    ExpectTranscript(std::string("caves.bd\n") + choice + "\nmy tiles.txt\np\n\n",
                     SuccessfulRun(CustomDialog));
  ExpectTranscript("caves.bd\r\n8\r\ngraphics_santa.txt\r\nP\r\n\r\n", SuccessfulRun(CustomDialog));
}

TEST(Dialog, AnswersThatEndTheRun) {
  const std::string noInput = BannerText + InputQuestionText + ErrorText("Input file not found!");
  for (const std::string name : {"nothing.bd", "folder.bd", "", "caves.bd "})
    ExpectTranscript(name + "\n1\nb\n", noInput);
  ExpectTranscript(std::string("caves.bd\0.txt\n1\nb\n", 18), noInput);
  ExpectTranscript("", noInput);

  const std::string badExtension =
      UpToMenu + ExtensionQuestionText + ErrorText("Unexpected input from keyboard!");
  for (const char *answer : {"x", "", " b", "\r"})
    ExpectTranscript(std::string("caves.bd\n1\n") + answer + "\n\n", badExtension);
  ExpectTranscript("caves.bd\n1", badExtension);

  const std::string noGraphics =
      UpToMenu + CustomQuestionText + ErrorText("Graphics file not found!");
  for (const std::string &name :
       {std::string("missing.txt"), std::string("tiles"), std::string("graphics_original.txt "),
        std::string("graphics_original.txt\0x", 23)})
    ExpectTranscript("caves.bd\n8\n" + name + "\nb\n", noGraphics);
}

TEST(Dialog, ChosenSetMustExist) {
  ToolRun run;
  run.files = {{"caves.bd", TinyGameFiles().at("caves.bd")}};
  run.input = "caves.bd\n4\nb\n";
  const ToolResult result = RunTool(run);
  EXPECT_EQ(result.output, UpToMenu + ErrorText("Graphics file not found!"));
  EXPECT_EQ(result.exitStatus, 1);
}

TEST(Run, CommandLineArgumentsChangeNothing) {
  const ToolResult result = RunWithAnswers("caves.bd\n1\nb\n\n", {"other.bd", "--help", "3"});
  EXPECT_EQ(result.output, SuccessfulRun(DialogText));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(Banner, EightLinesOf47CharactersAndAnEmptyLine) {
  const std::string output = RunWithAnswers("").output;
  std::size_t start = 0;
  for (int line = 0; line < 8; ++line) {
    const std::size_t end = output.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(end - start, 47u) << "line " << line + 1;
    start = end + 1;
  }
  EXPECT_EQ(output.substr(start, 1), "\n");
  EXPECT_EQ(output.substr(0, BannerText.size()), BannerText);
}

} // namespace
