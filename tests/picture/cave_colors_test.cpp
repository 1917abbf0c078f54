// Colour names and their RGB values.
#include "picture/cave_colors.h"
#include "test_support.h"

namespace {

TEST(ColorFromName, SpotChecksInBothSpellings) {
  const std::pair<const char *, std::int32_t> colours[] = {
      {"Black", 0x000000},     {"white", 0xFFFFFF},      {"Red", 0x9B4D42},   {"orange", 0xA36E30},
      {"LightBlue", 0x8D80F3}, {"lightgreen", 0xC1FF9A}, {"Gray1", 0x646464}, {"gray3", 0xC1C1C1}};
  for (const auto &colour : colours)
    EXPECT_EQ(OutputOf([&] { EXPECT_EQ(ColorFromName(colour.first), colour.second); }), "")
        << colour.first << ": known names do not warn";
}

TEST(ColorFromName, UnknownNameWarnsAndGivesGray2) {
  const std::string unknown[] = {"BLACK",  "lightRed", "Grey2",  "",
                                 "Black ", " black",   "gray 2", std::string("Red\0", 4)};
  for (const std::string &name : unknown)
    EXPECT_EQ(OutputOf([&] { EXPECT_EQ(ColorFromName(name), 0x929292) << "'" << name << "'"; }),
              "Warning: Unknown color found! Gray2 inserted.\n")
        << "'" << name << "'";
}

} // namespace
