// Building a cave's grid: border, initial or random fill, then its body section.
#pragma once

#include <cstdint>

// Writes every cell of the grid afresh from the cave record, then reads the
// cave's map or objects section from the input file up to its end tag.
void BuildCave();

// True for a cell inside the cave's border: rows 1..20 and columns 1..38, or
// rows 1..10 and columns 1..18 when the cave record marks an intermission.
bool IsInsideCaveBorder(std::int64_t row, std::int64_t column);
