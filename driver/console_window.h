// The Windows console window. Its code page is the system's OEM one, not the
// program's UTF-8, so letters beyond ASCII would arrive and show as other
// letters: when a console window is on one side, that side is read or
// written in UTF-16 instead. Pipes and files pass their bytes unchanged, and
// on other systems these calls do nothing.
#pragma once

#include <string>
#include <string_view>

// Reads one line as typed in the console window, in UTF-8 and without its
// line end; the end of the input (Ctrl+Z) gives the empty line. False, with
// nothing read, when standard input is no console window.
bool ReadConsoleWindowLine(std::string &line);

// Writes UTF-8 text to the console window so that it shows as written. False,
// with nothing written, when standard output is no console window.
bool WriteConsoleWindow(std::string_view text);
