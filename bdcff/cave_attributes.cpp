// The record of the cave being converted and the reading of its attributes.
#include "bdcff/cave_attributes.h"

#include "bdcff/key_lines.h"
#include "bdcff/line_tokens.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "picture/cave_colors.h"

#include <string_view>
#include <utility>

CaveProperties CaveRecord;

namespace {

constexpr std::string_view DefaultInitialFill = "DIRT";
constexpr std::int32_t NotGiven = -1;
constexpr std::int32_t UnusedProbability = 300;   // above any random value: the slot is unused
constexpr std::string_view FillerColor = "Black"; // the slots before fewer than five names
constexpr std::string_view TrueSpellings[] = {"true", "True"};

// What every cave starts from: the start values, but for the numbers a cave
// may leave out, its initial fill and its unused random-fill slots.
const CaveProperties NewCave = [] {
  CaveProperties cave;
  cave.InitialFill = DefaultInitialFill;
  cave.CaveDelay = NotGiven;
  cave.CaveTime = NotGiven;
  cave.DiamondsRequired = NotGiven;
  cave.DiamondValue = NotGiven;
  cave.BonusDiamondValue = NotGiven;
  cave.AmoebaTime = NotGiven;
  cave.MagicWallTime = NotGiven;
  cave.RandomFillProbabilities.fill(UnusedProbability);
  return cave;
}();

// The colour names of the cave's last "Colors=" line; the first one must be
// given before the attributes end.
using ColorNames = std::array<std::string, PaletteSlots>;

// The first blank-separated number of a value: per-level values keep level 1.
std::int32_t FirstNumber(std::string_view value) {
  std::size_t position = 0;
  return ReadNumber(value, position);
}

void ReadDiamondValues(std::string_view value) {
  std::size_t position = 0;
  CaveRecord.DiamondValue = ReadNumber(value, position);
  // One number alone (perhaps with one blank after it) is the bonus value too.
  CaveRecord.BonusDiamondValue =
      position == value.size() ? CaveRecord.DiamondValue : ReadRestNumber(value, position);
}

void ReadIntermission(std::string_view value) {
  CaveRecord.Intermission = false;
  for (std::string_view spelling : TrueSpellings)
    if (value.starts_with(spelling)) CaveRecord.Intermission = true;
}

void ReadRandSeed(std::string_view value) {
  std::size_t position = 0;
  CaveRecord.RandSeed = ReadMidNumber(value, position);
}

// Five names fill slots 0 to 4 in order; fewer names fill the last slots and
// black fills the ones before. Names after the fifth have no slot and are
// neither translated nor warned about.
void ReadColors(std::string_view value, ColorNames &names) {
  names = ColorNames{};
  std::size_t count = 0;
  std::size_t position = 0;
  while (position != value.size() && count < PaletteSlots)
    names[count++] = ReadWord(value, position);
  const std::size_t firstNamed = PaletteSlots - count;
  for (std::size_t slot = 0; slot < firstNamed; ++slot)
    CaveRecord.CavePalette[slot] = ColorFromName(FillerColor);
  for (std::size_t i = 0; i < count; ++i)
    CaveRecord.CavePalette[firstNamed + i] = ColorFromName(names[i]);
}

// Pairs of an item name and a probability, stored from slot 0 upward. Every
// pair is read and its name translated; only the first ten have a slot.
void ReadRandomFill(std::string_view value) {
  std::size_t slot = 0;
  std::size_t position = 0;
  while (position < value.size()) {
    const std::string name = ReadMidWord(value, position);
    const std::int32_t probability = ReadNumber(value, position);
    const ItemCode item = ItemCodeFromName(name);
    if (slot < RandomFillSlots) {
      CaveRecord.RandomFillItems[slot] = item;
      CaveRecord.RandomFillProbabilities[slot] = probability;
    }
    ++slot;
  }
  CaveRecord.RandomFill = true;
}

constexpr KeyHandler AttributeKeys[] = {
    {{"Name=", "name="}, [](std::string_view value) { CaveRecord.Name = value; }},
    {{"Remark=", "remark="}, [](std::string_view value) { CaveRecord.Remark = value; }},
    {{"InitialFill=", "initialfill="},
     [](std::string_view value) { CaveRecord.InitialFill = value; }},
    {{"CaveDelay=", "cavedelay="},
     [](std::string_view value) { CaveRecord.CaveDelay = FirstNumber(value); }},
    {{"CaveTime=", "cavetime="},
     [](std::string_view value) { CaveRecord.CaveTime = FirstNumber(value); }},
    {{"DiamondsRequired=", "diamondsrequired="},
     [](std::string_view value) { CaveRecord.DiamondsRequired = FirstNumber(value); }},
    {{"DiamondValue=", "diamondvalue="}, ReadDiamondValues},
    {{"SlimePermeability=", "slimepermeability="},
     [](std::string_view value) { CaveRecord.SlimePermeability = value; }},
    {{"AmoebaTime=", "amoebatime="},
     [](std::string_view value) { CaveRecord.AmoebaTime = FirstNumber(value); }},
    {{"MagicWallTime=", "magicwalltime="},
     [](std::string_view value) { CaveRecord.MagicWallTime = FirstNumber(value); }},
    {{"Intermission=", "intermission="}, ReadIntermission},
    {{"RandSeed=", "randseed="}, ReadRandSeed},
    {{"RandomFill=", "randomfill="}, ReadRandomFill},
};

constexpr KeySpellings ColorsKey = {"Colors=", "colors="};

void ApplyAttributeKey(std::string_view line, ColorNames &names) {
  if (const auto value = ValueAfterKey(line, ColorsKey)) {
    ReadColors(*value, names);
    return;
  }
  ApplyKeyLine(line, AttributeKeys);
}

} // namespace

void ResetCaveRecord() {
  CaveProperties cave = NewCave;
  cave.HasMap = CaveRecord.HasMap;
  cave.CavePalette = CaveRecord.CavePalette;
  cave.PictureFileName = std::move(CaveRecord.PictureFileName);
  cave.RandSeed = CaveRecord.RandSeed;
  CaveRecord = std::move(cave);
}

void ReadCaveAttributes() {
  ColorNames names;
  for (;;) {
    const std::string line = ReadTextLine(InputFile);
    ApplyAttributeKey(line, names);
    if (IsTagLine(line, MapTag) || IsTagLine(line, ObjectsTag)) {
      CaveRecord.HasMap = IsTagLine(line, MapTag);
      break;
    }
    if (TextLinesEnded(InputFile)) ReportError(Error::UnexpectedEndOfFile);
  }
  if (names[0].empty()) ReportError(Error::ColorsNotFound);
}
