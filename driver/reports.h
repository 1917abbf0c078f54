// The console and the program's three message channels: progress, warnings
// and errors, each text addressed by its code.
#pragma once

#include <string>
#include <string_view>

enum class Progress {
  ReadingGraphicsFile = 0,
  ProcessingCave = 1,
  ReadingInputFile = 10,
  GameName = 13,
  ReadingHtmlStructure = 14,
};

enum class Warning {
  UnknownColor = 0,
  CaveTooWide = 1,
  CaveTooHigh = 2,
  UnknownMapItem = 3,
  UnknownObjectItem = 4,
  UnknownHtmlField = 5,
};

enum class Error {
  ItemNotInGraphicsFile = 0,
  TileNot16x16 = 1,
  ColorsNotFound = 2,
  GameNameNotFound = 3,
  NoCavesFound = 4,
  InputFileNotFound = 5,
  GraphicsFileNotFound = 6,
  BdcffTagNotFound = 7,
  BdcffEndTagNotFound = 8,
  GameTagNotFound = 9,
  GameEndTagNotFound = 10,
  PictureCreationFailed = 11,
  CaveEndTagNotFound = 12,
  MapEndTagNotFound = 14,
  HeaderWithoutEmptyLine = 15,
  UnexpectedEndOfFile = 16,
  ObjectsEndTagNotFound = 18,
  RectangleCorners = 19,
  FillRectCorners = 20,
  ImpossibleLine = 21,
  UnexpectedEndOfLine = 22,
  HtmlStructureNotFound = 23,
  HtmlCreationFailed = 24,
  CavesBeginNotFound = 25,
  CavesEndNotFound = 26,
  UnexpectedKeyboardInput = 27,
  HtmlBeginNotFound = 28,
  HtmlEndNotFound = 29,
  OutputWouldReplaceInput = 30,
};

// Ends an error report and the summary.
inline constexpr std::string_view PressEnterText = "Press ENTER to exit.";

// Writes one console line and its newline, flushed at once.
void WriteConsoleLine(std::string_view text);

// Writes the prompt marker ">> " without a newline, flushed.
void WritePrompt();

// Reads one answer line from standard input. The line feed, and a carriage
// return right before it, are not part of the answer; at the end of the input
// the answer is the empty line.
std::string ReadConsoleLine();

// Prints one progress line. The caller gives what follows the fixed text:
// ProcessingCave the cave's two-digit number, GameName the game's name; the
// other codes take nothing.
void ReportProgress(Progress code, std::string_view detail = {});

// Prints "Warning: " and the warning's text; the run goes on.
void ReportWarning(Warning code);

// Gives every output under way its name (the page ends after the last cave
// written), prints "Error: " and the error's text, then "Press ENTER to
// exit.", waits for one line of standard input and ends the process with
// status 1.
[[noreturn]] void ReportError(Error code);

// The last step of ReportError ends the process with std::exit, so that open
// streams are flushed. An in-process harness (a fuzzer) may put another ending
// in its place; that ending must not return to its caller.
using ProcessEnding = void (*)(int status);
void SetProcessEnding(ProcessEnding ending);

// Waits for the user's ENTER: reads one line of standard input and drops it.
void WaitForEnter();
