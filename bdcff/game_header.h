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
