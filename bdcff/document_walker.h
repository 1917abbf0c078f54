// Walking the input file's frame of tags: the document and the game around
// the caves, and each cave's opening and closing tag.
#pragma once

#include <cstdint>

// Caves converted so far; while a cave is converted its number is CaveCount + 1.
extern std::int32_t CaveCount;

// Skips lines up to the document's opening tag, then up to the game's; the
// game header comes next. Ends the run when the input ends first.
void FindGame();

// Skips lines up to the next cave tag; false at the game's closing tag after
// at least one cave. Ends the run at a game without caves, and when the input
// ends first.
bool FindNextCave();

// Skips lines up to the cave's closing tag and counts the cave as converted.
// Ends the run when the input ends first.
void FinishCave();

// Skips lines up to the document's closing tag and closes the input file. Ends
// the run when the input ends first.
void FinishDocument();
