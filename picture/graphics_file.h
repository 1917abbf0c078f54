// The graphics file: sixteen tiles of 16 x 16 colour digits, one per item kind.
#pragma once

#include "cave/cave_grid.h"

#include <array>
#include <string>

inline constexpr std::size_t TileSize = 16;
inline constexpr std::size_t TileCharacters = TileSize * TileSize;

// Tile k paints item k: 256 colour digits, the 16 rows top row first, each row
// left to right. Every tile is empty until ReadGraphicsFile has run.
extern std::array<std::string, ItemKinds> TileSet;

// Reads the open GraphicsFile into the TileSet and closes it. The sections
// must come in item order, each headed by "[" and the item's display name
// (what follows the name is ignored) and holding sixteen rows of exactly
// sixteen characters; lines before a heading that do not begin with "[" are
// skipped. Ends the run with "Item not found in graphics file!" or
// "Dimensions of items must be 16x16!". The characters are stored as they
// stand; the painter decides what a character other than '0'..'4' shows.
void ReadGraphicsFile();
