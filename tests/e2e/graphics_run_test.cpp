// Reading the chosen graphics file, run end to end.
#include "e2e/harness.h"

#include <gtest/gtest.h>

namespace {

ToolResult RunWithGraphics(const std::string &graphics) {
  return ConvertTinyGame({{"graphics_original.txt", graphics}});
}

TEST(GraphicsRun, BadGraphicsFileEndsTheRunBeforeTheInputIsRead) {
  std::string shortRow = PlainGraphicsFile();
  shortRow.erase(shortRow.find("[Boulder]\n") + 12, 1);
  std::string misplaced = PlainGraphicsFile();
  misplaced.replace(misplaced.find("[Exit]"), 6, "[Dirt]");
  const struct {
    std::string graphics;
    const char *message;
  } cases[] = {
      {shortRow, "Dimensions of items must be 16x16!"},
      {misplaced, "Item not found in graphics file!"},
      {"", "Item not found in graphics file!"},
  };
  for (const auto &bad : cases) {
    const ToolResult result = RunWithGraphics(bad.graphics);
    EXPECT_EQ(result.output, DialogText + "Reading graphics file...\n" + ErrorText(bad.message));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.written.empty());
  }
}

} // namespace
