// The map section: one text line per cave row, one character per cell.
#include "bdcff/map_section.h"

#include "bdcff/key_lines.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"

#include <string>

namespace {

struct MapChar {
  char character;
  ItemCode item;
};

// Every known map character; the table is case-sensitive.
constexpr MapChar MapChars[] = {
    {'P', Items::Rockford},     {'X', Items::Exit},        {'H', Items::HiddenExit},
    {'W', Items::TitaniumWall}, {' ', Items::EmptySpace},  {'.', Items::Dirt},
    {'r', Items::Boulder},      {'d', Items::Diamond},     {'w', Items::Wall},
    {'M', Items::MagicWall},    {'x', Items::GrowingWall}, {'v', Items::GrowingWall},
    {'V', Items::GrowingWall},  {'Q', Items::Firefly},     {'o', Items::Firefly},
    {'O', Items::Firefly},      {'q', Items::Firefly},     {'c', Items::Butterfly},
    {'C', Items::Butterfly},    {'b', Items::Butterfly},   {'B', Items::Butterfly},
    {'a', Items::Amoeba},       {'s', Items::Slime},       {'F', Items::RockfordDoll},
};

// Stores the characters of one row that fall inside the grid; characters
// beyond it are skipped untranslated, so they cause no unknown-item warning.
void StoreMapRow(std::string_view line, std::int64_t row) {
  if (row >= GridRows) return;
  for (std::size_t column = 0; column < line.size() && column < GridColumns; ++column)
    SetCell(ItemCodeFromMapChar(line[column]), static_cast<std::int32_t>(row),
            static_cast<std::int32_t>(column));
}

} // namespace

ItemCode ItemCodeFromMapChar(char character) {
  for (const MapChar &entry : MapChars)
    if (entry.character == character) return entry.item;
  ReportWarning(Warning::UnknownMapItem);
  return Items::EmptySpace;
}

void ReadMapSection() {
  std::int64_t row = 0; // non-empty lines read so far; wide enough for any file
  while (const auto line = LineBeforeTag(InputFile, MapEndTag, Error::MapEndTagNotFound)) {
    StoreMapRow(*line, row);
    if (line->size() > static_cast<std::size_t>(GridColumns)) ReportWarning(Warning::CaveTooWide);
    if (!line->empty()) ++row;
    // Checked after every line, empty ones included, once the map is too high.
    if (row > GridRows) ReportWarning(Warning::CaveTooHigh);
  }
}
