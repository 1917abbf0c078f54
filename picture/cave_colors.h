// The colour names of a cave's palette and their RGB values.
#pragma once

#include <cstdint>
#include <string>

// The 0xRRGGBB value of a colour name, in its capitalised or all-lower-case
// spelling. An unknown name warns "Unknown color found! Gray2 inserted." and
// gives Gray2.
std::int32_t ColorFromName(const std::string &name);
