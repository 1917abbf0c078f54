// The record of the cave being converted and the reading of its attributes.
#include "bdcff/cave_attributes.h"

#include <string_view>

CaveProperties CaveRecord;

namespace {

constexpr std::string_view DefaultInitialFill = "DIRT";
constexpr std::int32_t NotGiven = -1;
constexpr std::int32_t UnusedProbability = 300; // above any random value: the slot is unused

} // namespace

void ResetCaveRecord() {
  CaveRecord.Name.clear();
  CaveRecord.Remark.clear();
  CaveRecord.SlimePermeability.clear();
  CaveRecord.InitialFill = DefaultInitialFill;
  CaveRecord.CaveDelay = NotGiven;
  CaveRecord.CaveTime = NotGiven;
  CaveRecord.DiamondsRequired = NotGiven;
  CaveRecord.DiamondValue = NotGiven;
  CaveRecord.BonusDiamondValue = NotGiven;
  CaveRecord.AmoebaTime = NotGiven;
  CaveRecord.MagicWallTime = NotGiven;
  CaveRecord.Level = 1;
  CaveRecord.Intermission = false;
  CaveRecord.RandomFill = false;
  for (std::size_t slot = 0; slot < RandomFillSlots; ++slot) {
    CaveRecord.RandomFillItems[slot] = 0;
    CaveRecord.RandomFillProbabilities[slot] = UnusedProbability;
  }
}
