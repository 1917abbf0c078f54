// Colour names and their RGB values.
#include "picture/cave_colors.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorFromName, BothSpellingsOfEveryColour) {
  const struct {
    const char *capitalised;
    const char *lowerCase;
    std::int32_t value;
  } colours[] = {
      {"Black", "black", 0x000000},
      {"White", "white", 0xFFFFFF},
      {"Red", "red", 0x9B4D42},
      {"Cyan", "cyan", 0x8CD6DF},
      {"Purple", "purple", 0x9D54C4},
      {"Green", "green", 0x78BF4E},
      {"Blue", "blue", 0x4B3DB7},
      {"Yellow", "yellow", 0xE9F582},
      {"Orange", "orange", 0xA36E30},
      {"Brown", "brown", 0x6B5500},
      {"LightRed", "lightred", 0xD2887E},
      {"Gray1", "gray1", 0x646464},
      {"Gray2", "gray2", 0x929292},
      {"LightGreen", "lightgreen", 0xC1FF9A},
      {"LightBlue", "lightblue", 0x8D80F3},
      {"Gray3", "gray3", 0xC1C1C1},
  };
  testing::internal::CaptureStdout();
  for (const auto &colour : colours) {
    EXPECT_EQ(ColorFromName(colour.capitalised), colour.value) << colour.capitalised;
    EXPECT_EQ(ColorFromName(colour.lowerCase), colour.value) << colour.lowerCase;
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "known names do not warn";
}

TEST(ColorFromName, UnknownNameWarnsAndGivesGray2) {
  const std::string unknown[] = {"BLACK", "lightRed", "Grey2",
                                 "",      "Black ",   " black",
                                 "Gray",  "gray 2",   std::string("Red\0", 4)};
  for (const std::string &name : unknown) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(ColorFromName(name), 0x929292) << "'" << name << "'";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Warning: Unknown color found! Gray2 inserted.\n")
        << "'" << name << "'";
  }
}

} // namespace
