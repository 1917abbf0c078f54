// Walking the input file's frame of tags, cave by cave.
#pragma once

#include <cstdint>

// Caves converted so far; while a cave is converted its number is CaveCount + 1.
extern std::int32_t CaveCount;

// Converts the whole input file: finds the document and game tags, reads the
// game header, converts every cave of the first game, finds the document's
// closing tag and closes the input file. A broken frame ends the run.
void WalkDocument();

// Skips to the next cave tag and converts that cave; false when the game's
// closing tag comes first (after at least one cave).
bool ConvertNextCave();
