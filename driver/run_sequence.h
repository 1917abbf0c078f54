// The run from start to exit: banner, dialog, the conversion of the game cave
// by cave, and the summary.
#pragma once

#include <string_view>

// Forty equals signs: ends the dialog and opens the summary.
inline constexpr std::string_view SeparatorLine = "========================================";

// The whole run; returns the exit status of a run that reached its summary.
int RunGrottoprint();

// Converts the whole input file: reads the game header, writes the page's
// head, converts every cave of the first game, then writes the page's tail
// once the document's closing tag was found.
void WalkDocument();

// Converts the next cave: its attributes, its grid, its picture and its page
// entry. False when the game's closing tag comes first.
bool ConvertNextCave();

void PrintBanner();

// Prints the summary and waits for ENTER.
void PrintSummary();

// Puts every process-wide record back to its start value and closes every
// stream, as a fresh process has them, for a harness that converts more than
// once in one process. The ending set by SetProcessEnding stays.
void ResetProcessState();
