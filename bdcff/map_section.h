// The map section: one text line per cave row, one character per cell.
#pragma once

#include "cave/cave_grid.h"

// Reads the map rows from the input file into the grid, up to the end tag.
void ReadMapSection();

// The item of a map character; an unknown one warns and gives Empty Space.
ItemCode ItemCodeFromMapChar(char character);
