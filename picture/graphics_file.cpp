// The graphics file: sixteen tiles of 16 x 16 colour digits, one per item kind.
#include "picture/graphics_file.h"

#include "driver/console_dialog.h"
#include "driver/reports.h"

std::array<std::string, ItemKinds> TileSet;

namespace {

constexpr char HeadingMark = '[';

// The next line that begins with "[", skipping the comments and empty lines
// before it. Running out of lines means the item is missing.
std::string ReadHeading() {
  for (;;) {
    std::string line = ReadTextLine(GraphicsFile);
    if (!line.empty() && line.front() == HeadingMark) return line;
    if (TextLinesEnded(GraphicsFile)) ReportError(Error::ItemNotInGraphicsFile);
  }
}

// Only as many characters as the name has are compared, so a heading may go
// on after the name ("[Rockford] player").
bool HeadsItem(std::string_view heading, std::string_view name) {
  return heading.substr(1, name.size()) == name;
}

std::string ReadTile() {
  std::string tile;
  tile.reserve(TileCharacters);
  for (std::size_t row = 0; row < TileSize; ++row) {
    const std::string line = ReadTextLine(GraphicsFile);
    if (line.size() != TileSize) ReportError(Error::TileNot16x16);
    tile += line;
  }
  return tile;
}

} // namespace

void ReadGraphicsFile() {
  ReportProgress(Progress::ReadingGraphicsFile);
  for (std::size_t item = 0; item < TileSet.size(); ++item) {
    if (!HeadsItem(ReadHeading(), ItemNames[item])) ReportError(Error::ItemNotInGraphicsFile);
    TileSet[item] = ReadTile();
  }
  CloseTextLines(GraphicsFile);
}
