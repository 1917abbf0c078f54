// The game's own properties, read from the lines after the game tag.
#pragma once

#include <cstdint>
#include <string>

struct GameProperties {
  std::string Name;
  std::string Date;
  std::string Author;
  std::string WWW;
  std::string Charset;
  std::string Fontset;
  std::int32_t Levels = 0;
  std::int32_t Caves = 0;
};

extern GameProperties GameRecord;

// Reads the header lines from the input file up to and including the first
// empty line, printing the game's name at every name line. Ends the run when
// the input ends, or a cave tag comes, before that empty line, and when the
// header gave no name. A later line of the same key wins.
void ReadGameHeader();
