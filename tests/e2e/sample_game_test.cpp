// The bundled sample game with the shipped data files, as a user runs it.
#include "e2e/harness.h"
#include "test_support.h"

#include <set>

namespace {

constexpr int SampleCaves = 10;

const char *const DataFiles[] = {
    "graphics_original.txt", "graphics_original_bd2.txt",  "graphics_ghost.txt",
    "graphics_pumpkin.txt",  "graphics_ghost_pumpkin.txt", "graphics_space.txt",
    "graphics_santa.txt",    "html_structure.txt",
};

ToolResult ConvertSample(int choice) {
  ToolRun run;
  for (const char *name : DataFiles) run.files[name] = SourceFile(std::string("data/") + name);
  run.files["sample_caves.bd"] = SourceFile("examples/sample_caves.bd");
  run.input = "sample_caves.bd\n" + std::to_string(choice) + "\ng\n\n";
  return RunTool(run);
}

TEST(SampleGame, EveryGraphicsSetConvertsItWithoutAWarning) {
  std::set<std::string> firstPictures;
  for (int choice = 1; choice <= 7; ++choice) {
    const ToolResult result = ConvertSample(choice);
    EXPECT_EQ(result.output, GameStartText("Sample Grottoes") + CaveProgressLines(1, SampleCaves) +
                                 SummaryText(SampleCaves))
        << "graphics set " << choice;
    EXPECT_EQ(result.exitStatus, 0);
    ASSERT_EQ(result.written.size(), SampleCaves + 1u) << "graphics set " << choice;
    const std::string &page = result.written.at("Sample Grottoes.html");
    for (int cave = 1; cave <= SampleCaves; ++cave) {
      const std::string number = (cave < 10 ? "0" : "") + std::to_string(cave);
      const std::string picture = "Sample Grottoes_Cave_" + number + ".bmp";
      ASSERT_EQ(result.written.count(picture), 1u) << picture;
      EXPECT_EQ(result.written.at(picture).size(), 699894u) << picture;
      // The page names each picture with the extension chosen in the dialog.
      EXPECT_NE(page.find("Sample Grottoes_Cave_" + number + ".gif"), std::string::npos) << picture;
    }
    firstPictures.insert(result.written.at("Sample Grottoes_Cave_01.bmp"));
  }
  // The gallery cave shows every item, so each set paints it differently.
  EXPECT_EQ(firstPictures.size(), 7u);
}

} // namespace
