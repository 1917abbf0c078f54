// The cave grid, the sixteen item kinds and the translation of item names.
#include "cave/cave_grid.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "driver/reports.h"

Grid CaveGrid{};

namespace {

struct NamedItem {
  std::string_view name;
  ItemCode item;
};

// Every accepted spelling, in ItemCode order.
constexpr NamedItem ItemSpellings[] = {
    {"INBOX", Items::Rockford},
    {"inbox", Items::Rockford},
    {"Inbox", Items::Rockford},
    {"OUTBOX", Items::Exit},
    {"outbox", Items::Exit},
    {"Outbox", Items::Exit},
    {"HIDDENOUTBOX", Items::HiddenExit},
    {"hiddenoutbox", Items::HiddenExit},
    {"HiddenOutbox", Items::HiddenExit},
    {"STEELWALL", Items::TitaniumWall},
    {"steelwall", Items::TitaniumWall},
    {"SteelWall", Items::TitaniumWall},
    {"WALL2", Items::TitaniumWall},
    {"wall2", Items::TitaniumWall},
    {"Wall2", Items::TitaniumWall},
    {"SPACE", Items::EmptySpace},
    {"space", Items::EmptySpace},
    {"Space", Items::EmptySpace},
    {"DIRT", Items::Dirt},
    {"dirt", Items::Dirt},
    {"Dirt", Items::Dirt},
    {"BOULDER", Items::Boulder},
    {"boulder", Items::Boulder},
    {"Boulder", Items::Boulder},
    {"BOULDERf", Items::Boulder},
    {"boulderf", Items::Boulder},
    {"Boulderf", Items::Boulder},
    {"DIAMOND", Items::Diamond},
    {"diamond", Items::Diamond},
    {"Diamond", Items::Diamond},
    {"DIAMONDf", Items::Diamond},
    {"diamondf", Items::Diamond},
    {"Diamondf", Items::Diamond},
    {"DIAMONd", Items::Diamond},
    {"WALL", Items::Wall},
    {"wall", Items::Wall},
    {"Wall", Items::Wall},
    {"MAGICWALL", Items::MagicWall},
    {"magicwall", Items::MagicWall},
    {"MagicWall", Items::MagicWall},
    {"HEXPANDINGWALL", Items::GrowingWall},
    {"hexpandingwall", Items::GrowingWall},
    {"HexpandingWall", Items::GrowingWall},
    {"VEXPANDINGWALL", Items::GrowingWall},
    {"vexpandingwall", Items::GrowingWall},
    {"VexpandingWall", Items::GrowingWall},
    {"EXPANDINGWALL", Items::GrowingWall},
    {"expandingwall", Items::GrowingWall},
    {"ExpandingWall", Items::GrowingWall},
    {"FIREFLYl", Items::Firefly},
    {"fireflyl", Items::Firefly},
    {"Fireflyl", Items::Firefly},
    {"FIREFLYr", Items::Firefly},
    {"fireflyr", Items::Firefly},
    {"Fireflyr", Items::Firefly},
    {"FIREFLYu", Items::Firefly},
    {"fireflyu", Items::Firefly},
    {"Fireflyu", Items::Firefly},
    {"FIREFLYd", Items::Firefly},
    {"fireflyd", Items::Firefly},
    {"Fireflyd", Items::Firefly},
    {"BUTTERFLYl", Items::Butterfly},
    {"butterflyl", Items::Butterfly},
    {"Butterflyl", Items::Butterfly},
    {"BUTTERFLYr", Items::Butterfly},
    {"butterflyr", Items::Butterfly},
    {"Butterflyr", Items::Butterfly},
    {"BUTTERFLYu", Items::Butterfly},
    {"butterflyu", Items::Butterfly},
    {"Butterflyu", Items::Butterfly},
    {"BUTTERFLYd", Items::Butterfly},
    {"butterflyd", Items::Butterfly},
    {"Butterflyd", Items::Butterfly},
    {"AMOEBA", Items::Amoeba},
    {"amoeba", Items::Amoeba},
    {"Amoeba", Items::Amoeba},
    {"SLIME", Items::Slime},
    {"slime", Items::Slime},
    {"Slime", Items::Slime},
    {"?????", Items::RockfordDoll},
};

// The same spellings sorted by name, once, by the compiler: an objects line
// translates its item name for every cell it touches.
constexpr auto SpellingsByName = [] {
  std::array<NamedItem, std::size(ItemSpellings)> sorted{};
  std::ranges::copy(ItemSpellings, sorted.begin());
  std::ranges::sort(sorted, {}, &NamedItem::name);
  return sorted;
}();
static_assert(std::ranges::adjacent_find(SpellingsByName, {}, &NamedItem::name) ==
                  SpellingsByName.end(),
              "every spelling names one item");

} // namespace

void SetCell(ItemCode item, std::int32_t row, std::int32_t column) {
  if (!IsInsideGrid(row, column)) return;
  CaveGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = item;
}

void FillBlock(ItemCode item, std::int32_t firstRow, std::int32_t lastRow, std::int32_t firstColumn,
               std::int32_t lastColumn) {
  for (std::int32_t row = firstRow; row <= lastRow; ++row)
    for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
      SetCell(item, row, column);
}

ItemCode ItemCodeFromName(std::string_view name) {
  // An object names its item once for every cell it touches, so the spelling
  // found last is tried first; it only saves the search.
  static const NamedItem *last = SpellingsByName.data();
  if (last->name == name) return last->item;
  const auto found = std::ranges::lower_bound(SpellingsByName, name, {}, &NamedItem::name);
  if (found != SpellingsByName.end() && found->name == name) {
    last = &*found;
    return found->item;
  }
  ReportWarning(Warning::UnknownObjectItem);
  return Items::EmptySpace;
}
