// The game's own properties, read from the lines after the game tag.
#include "bdcff/game_header.h"

#include "bdcff/key_lines.h"
#include "bdcff/line_tokens.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"

GameProperties GameRecord;

namespace {

// The whole value of a number key counts, its blanks dropped: "1 0" is 10.
std::int32_t HeaderNumber(std::string_view value) {
  std::size_t position = 0;
  return ReadRestNumber(value, position);
}

constexpr KeyHandler HeaderKeys[] = {
    {{"Name=", "name="},
     [](std::string_view value) {
       GameRecord.Name = value;
       ReportProgress(Progress::GameName, GameRecord.Name);
     }},
    {{"Date=", "date="}, [](std::string_view value) { GameRecord.Date = value; }},
    {{"Author=", "author="}, [](std::string_view value) { GameRecord.Author = value; }},
    {{"WWW=", "www="}, [](std::string_view value) { GameRecord.WWW = value; }},
    {{"Charset=", "charset="}, [](std::string_view value) { GameRecord.Charset = value; }},
    {{"Fontset=", "fontset="}, [](std::string_view value) { GameRecord.Fontset = value; }},
    {{"Levels=", "levels="},
     [](std::string_view value) { GameRecord.Levels = HeaderNumber(value); }},
    {{"Caves=", "caves="}, [](std::string_view value) { GameRecord.Caves = HeaderNumber(value); }},
};

} // namespace

void ReadGameHeader() {
  for (;;) {
    const std::string line = ReadTextLine(InputFile);
    // Keys are applied first, so a name on the file's last line is still
    // printed before the missing empty line ends the run.
    ApplyKeyLine(line, HeaderKeys);
    if (line.empty()) break;
    if (TextLinesEnded(InputFile) || IsTagLine(line, CaveTag))
      ReportError(Error::HeaderWithoutEmptyLine);
  }
  if (GameRecord.Name.empty()) ReportError(Error::GameNameNotFound);
}
