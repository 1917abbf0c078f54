// The record of the cave being converted and the reading of its attributes.
#pragma once

#include "cave/cave_grid.h"

#include <array>
#include <cstdint>
#include <string>

inline constexpr std::size_t PaletteSlots = 5;
inline constexpr std::size_t RandomFillSlots = 10;

// Slot 0 the border (and the picture's frame), slot 1 the background, slots 2
// to 4 the three foreground colours; each 0xRRGGBB.
using Palette = std::array<std::int32_t, PaletteSlots>;

// Start values are those of program start; ResetCaveRecord gives each cave
// its own defaults (-1 for numbers the cave does not give).
struct CaveProperties {
  std::string Name;
  std::string Remark;
  std::string SlimePermeability;
  std::string InitialFill;
  std::string PictureFileName;
  std::int32_t CaveDelay = 0;
  std::int32_t CaveTime = 0;
  std::int32_t DiamondsRequired = 0;
  std::int32_t DiamondValue = 0;
  std::int32_t BonusDiamondValue = 0;
  std::int32_t AmoebaTime = 0;
  std::int32_t MagicWallTime = 0;
  std::int32_t Level = 1;
  std::int32_t RandSeed = 0;
  bool Intermission = false;
  bool HasMap = false;
  bool RandomFill = false;
  std::array<ItemCode, RandomFillSlots> RandomFillItems{};
  std::array<std::int32_t, RandomFillSlots> RandomFillProbabilities{};
  Palette CavePalette{};
};

extern CaveProperties CaveRecord;

// Gives the record the defaults of a new cave. HasMap, CavePalette,
// PictureFileName and RandSeed carry over: every cave sets the first three
// before they are read, and a cave without a seed uses the previous one. Every
// other field, a field added later too, starts afresh.
void ResetCaveRecord();

// Reads the cave's attribute lines from the input file up to and including
// its "[map]" or "[objects]" tag line, and sets HasMap from that line. Colour
// and item names are translated as their lines are read (unknown ones warn).
// Per-level values keep their first number. A later line of the same key wins;
// each "Colors=" line gives all five slots anew, and names after the fifth are
// ignored. "RandomFill=" pairs after the tenth are read but not stored.
// Ends the run when the input ends before the tag line, when the cave has no
// first colour name, and when "RandSeed=" or a "RandomFill=" name ends early.
void ReadCaveAttributes();
