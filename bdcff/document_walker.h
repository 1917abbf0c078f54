// Walking the input file's frame of tags, cave by cave.
#pragma once

#include <cstdint>

// Caves converted so far; while a cave is converted its number is CaveCount + 1.
extern std::int32_t CaveCount;
