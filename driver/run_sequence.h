// The run from start to exit: banner, dialog, conversion and summary.
#pragma once

#include <string_view>

// Forty equals signs: ends the dialog and opens the summary.
inline constexpr std::string_view SeparatorLine = "========================================";

void PrintBanner();

// Prints the summary and waits for ENTER.
void PrintSummary();

// The whole run; returns the exit status of a run that reached its summary.
int RunGrottoprint();

// Puts every process-wide record back to its start value and closes every
// stream, as a fresh process has them, for a harness that converts more than
// once in one process. The ending set by SetProcessEnding stays.
void ResetProcessState();
