// Building a cave's grid: border, initial or random fill, then its body section.
#pragma once

// Writes every cell of the grid afresh from the cave record, then reads the
// cave's map or objects section from the input file up to its end tag.
void BuildCave();
