// Building a cave's grid: border, initial or random fill, then its body section.
#include "cave/cave_builder.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/map_section.h"
#include "bdcff/objects_section.h"
#include "cave/cave_grid.h"
#include "cave/functions_random_gen.h"

namespace {

constexpr std::size_t TestedFillSlots = 4; // later random-fill pairs take no part
constexpr std::int32_t LargestRandomValue = 255;
constexpr std::int32_t SeedMask = 255;

// An intermission uses the upper left 20 by 12 cells of the grid.
constexpr std::int32_t IntermissionRows = 12;
constexpr std::int32_t IntermissionColumns = 20;

struct CaveSize {
  std::int32_t rows;
  std::int32_t columns;
};

CaveSize CurrentCaveSize() {
  if (CaveRecord.Intermission) return {IntermissionRows, IntermissionColumns};
  return {GridRows, GridColumns};
}

void FillWithSteel() {
  FillBlock(Items::TitaniumWall, 0, GridRows - 1, 0, GridColumns - 1);
}

// The pairs among the first four whose probability can be beaten by a random
// value. The first that many slots are then tested, whatever their
// probabilities, so a larger probability among them shifts which pairs count.
std::size_t CountFillSlots() {
  std::size_t count = 0;
  for (std::size_t slot = 0; slot < TestedFillSlots; ++slot)
    if (CaveRecord.RandomFillProbabilities[slot] <= LargestRandomValue) ++count;
  return count;
}

ItemCode RandomItem(std::int32_t value, std::size_t slots) {
  ItemCode item = Items::Dirt;
  // A later slot overrides an earlier one.
  for (std::size_t slot = 0; slot < slots; ++slot)
    if (value < CaveRecord.RandomFillProbabilities[slot]) item = CaveRecord.RandomFillItems[slot];
  return item;
}

// A generator step is taken for every cell of rows 1..21, border included, so
// the random values fall on the same cells whatever the cave's shape.
void RandomFillCave() {
  const std::size_t slots = CountFillSlots();
  RandSeed1 = 0;
  // The generator works on bytes; a larger seed gives its low eight bits.
  RandSeed2 = CaveRecord.RandSeed & SeedMask;
  FillBlock(Items::TitaniumWall, 0, 0, 0, GridColumns - 1);
  for (std::int32_t row = 1; row < GridRows; ++row) {
    for (std::int32_t column = 0; column < GridColumns; ++column) {
      NextRandom(RandSeed1, RandSeed2);
      const ItemCode item = RandomItem(RandSeed1, slots);
      SetCell(IsInsideCaveBorder(row, column) ? item : Items::TitaniumWall, row, column);
    }
  }
}

void InitialFillCave() {
  const CaveSize size = CurrentCaveSize();
  FillWithSteel();
  FillBlock(ItemCodeFromName(CaveRecord.InitialFill), 1, size.rows - 2, 1, size.columns - 2);
}

} // namespace

bool IsInsideCaveBorder(std::int64_t row, std::int64_t column) {
  // The border is the outermost row and column on each side of the cave.
  const CaveSize size = CurrentCaveSize();
  return row >= 1 && row <= size.rows - 2 && column >= 1 && column <= size.columns - 2;
}

void BuildCave() {
  if (CaveRecord.HasMap) {
    FillWithSteel();
    ReadMapSection();
    return;
  }
  if (CaveRecord.RandomFill)
    RandomFillCave();
  else
    InitialFillCave();
  ReadObjectsSection();
}
