// The objects section: points, lines, rectangles, rasters and additions.
#pragma once

// Reads the object lines from the input file and draws each into the grid, up
// to the end tag.
void ReadObjectsSection();
