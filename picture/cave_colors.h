// The colour names of a cave's palette and their RGB values.
#pragma once

#include <cstdint>
#include <string_view>

// The 0xRRGGBB value of a colour name, in its capitalised or all-lower-case
// spelling. An unknown name warns "Unknown color found! Gray2 inserted." and
// gives Gray2.
std::int32_t ColorFromName(std::string_view name);
