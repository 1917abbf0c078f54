// The cave grid, the sixteen item kinds and the translation of item names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One item kind, 0..15; the same number selects the item's tile and its name.
using ItemCode = std::int32_t;

namespace Items {
inline constexpr ItemCode Rockford = 0;
inline constexpr ItemCode Exit = 1;
inline constexpr ItemCode HiddenExit = 2;
inline constexpr ItemCode TitaniumWall = 3;
inline constexpr ItemCode EmptySpace = 4;
inline constexpr ItemCode Dirt = 5;
inline constexpr ItemCode Boulder = 6;
inline constexpr ItemCode Diamond = 7;
inline constexpr ItemCode Wall = 8;
inline constexpr ItemCode MagicWall = 9;
inline constexpr ItemCode GrowingWall = 10;
inline constexpr ItemCode Firefly = 11;
inline constexpr ItemCode Butterfly = 12;
inline constexpr ItemCode Amoeba = 13;
inline constexpr ItemCode Slime = 14;
inline constexpr ItemCode RockfordDoll = 15;
} // namespace Items

inline constexpr int ItemKinds = 16;
inline constexpr int GridRows = 22;
inline constexpr int GridColumns = 40;

// The display names, in ItemCode order; they head the graphics file's sections.
inline constexpr std::array<std::string_view, ItemKinds> ItemNames = {
    "Rockford",  "Exit",    "Hidden Exit", "Titanium Wall", "Empty Space",  "Dirt",
    "Boulder",   "Diamond", "Wall",        "Magic Wall",    "Growing Wall", "Firefly",
    "Butterfly", "Amoeba",  "Slime",       "Rockford Doll",
};

// Row 0 is the top row, column 0 the left column.
using Grid = std::array<std::array<ItemCode, GridColumns>, GridRows>;
extern Grid CaveGrid;

// True for a cell inside the 22 by 40 grid.
inline bool IsInsideGrid(std::int64_t row, std::int64_t column) {
  return row >= 0 && row < GridRows && column >= 0 && column < GridColumns;
}

// Stores the item in one cell. A cell outside the grid is left alone, so no
// caller can write past the grid.
void SetCell(ItemCode item, std::int32_t row, std::int32_t column);

// Stores the item in every cell of the rows firstRow..lastRow and the columns
// firstColumn..lastColumn, both inclusive; an empty range writes nothing, and
// SetCell leaves the cells outside the grid alone.
void FillBlock(ItemCode item, std::int32_t firstRow, std::int32_t lastRow, std::int32_t firstColumn,
               std::int32_t lastColumn);

// The item code for a BDCFF item name, compared exactly. An unknown name
// warns "Unknown item in objects! Empty Space inserted." and gives Empty Space.
ItemCode ItemCodeFromName(std::string_view name);
