// The game's own properties, read from the lines after the game tag.
#include "bdcff/game_header.h"

GameProperties GameRecord;
