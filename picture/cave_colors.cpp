// The colour names of a cave's palette and their RGB values.
#include "picture/cave_colors.h"

#include <string_view>

#include "driver/reports.h"

namespace {

struct NamedColor {
  std::string_view capitalised;
  std::string_view lowerCase;
  std::int32_t value;
};

constexpr NamedColor Colors[] = {
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

constexpr std::int32_t Gray2 = 0x929292;

} // namespace

std::int32_t ColorFromName(std::string_view name) {
  for (const NamedColor &color : Colors)
    if (name == color.capitalised || name == color.lowerCase) return color.value;
  ReportWarning(Warning::UnknownColor);
  return Gray2;
}
