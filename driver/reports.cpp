// The console and the program's three message channels.
#include "driver/reports.h"

#include <cstdio>
#include <cstdlib>

#include "driver/console_window.h"
#include "driver/line_end.h"
#include "driver/output_files.h"
#include "html/html_document.h"

namespace {

// Each text stands beside its code: a switch without a default, so that the
// compiler rejects a code that has no text.
constexpr std::string_view TextOf(Progress code) {
  switch (code) {
  case Progress::ReadingGraphicsFile:
    return "Reading graphics file...";
  case Progress::ProcessingCave:
    return "Processing cave ";
  case Progress::ReadingInputFile:
    return "Reading input file...";
  case Progress::GameName:
    return "Name of BD game: ";
  case Progress::ReadingHtmlStructure:
    return "Reading HTML structure file...";
  }
  return {};
}

constexpr std::string_view TextOf(Warning code) {
  switch (code) {
  case Warning::UnknownColor:
    return "Unknown color found! Gray2 inserted.";
  case Warning::CaveTooWide:
    return "Max. cave width of 40 exceeded!";
  case Warning::CaveTooHigh:
    return "Max. cave height of 22 exceeded!";
  case Warning::UnknownMapItem:
    return "Unknown item in map! Empty Space inserted.";
  case Warning::UnknownObjectItem:
    return "Unknown item in objects! Empty Space inserted.";
  case Warning::UnknownHtmlField:
    return "Unknown command string in HTML structure file!";
  }
  return {};
}

constexpr std::string_view TextOf(Error code) {
  switch (code) {
  case Error::ItemNotInGraphicsFile:
    return "Item not found in graphics file!";
  case Error::TileNot16x16:
    return "Dimensions of items must be 16x16!";
  case Error::ColorsNotFound:
    return "Colors not found!";
  case Error::GameNameNotFound:
    return "Name of BD game not found!";
  case Error::NoCavesFound:
    return "No caves found!";
  case Error::InputFileNotFound:
    return "Input file not found!";
  case Error::GraphicsFileNotFound:
    return "Graphics file not found!";
  case Error::BdcffTagNotFound:
    return "[BDCFF] tag not found!";
  case Error::BdcffEndTagNotFound:
    return "[/BDCFF] end-tag not found!";
  case Error::GameTagNotFound:
    return "[game] tag not found!";
  case Error::GameEndTagNotFound:
    return "[/game] end-tag not found!";
  case Error::PictureCreationFailed:
    return "Creation of BMP pic failed!";
  case Error::CaveEndTagNotFound:
    return "[/cave] end-tag not found!";
  case Error::MapEndTagNotFound:
    return "[/map] end-tag not found!";
  case Error::HeaderWithoutEmptyLine:
    return "Game properties MUST end with white line!";
  case Error::UnexpectedEndOfFile:
    return "Unexpected end of file!";
  case Error::ObjectsEndTagNotFound:
    return "[/objects] end-tag not found!";
  case Error::RectangleCorners:
    return "Rectangle: must start with upper left corner!";
  case Error::FillRectCorners:
    return "FilRect: must start with upper left corner!";
  case Error::ImpossibleLine:
    return "Line: impossible line definition!";
  case Error::UnexpectedEndOfLine:
    return "Unexpected end of line!";
  case Error::HtmlStructureNotFound:
    return "HTML structure file not found!";
  case Error::HtmlCreationFailed:
    return "Creation of HTML file failed!";
  case Error::CavesBeginNotFound:
    return "#Caves-begin# not found in HTML structure file!";
  case Error::CavesEndNotFound:
    return "#Caves-end# not found in HTML structure file!";
  case Error::UnexpectedKeyboardInput:
    return "Unexpected input from keyboard!";
  case Error::HtmlBeginNotFound:
    return "#HTML-begin# not found in HTML structure file!";
  case Error::HtmlEndNotFound:
    return "#HTML-end# not found in HTML structure file!";
  case Error::OutputWouldReplaceInput:
    return "Output would overwrite input, graphics or HTML structure file!";
  }
  return {};
}

constexpr std::string_view WarningPrefix = "Warning: ";
constexpr std::string_view ErrorPrefix = "Error: ";
constexpr std::string_view PromptMarker = ">> ";

// Standard output gets the bytes as they are; a Windows console window gets
// them so that they show as written.
void WriteRaw(std::string_view text) {
  if (!WriteConsoleWindow(text)) std::fwrite(text.data(), 1, text.size(), stdout);
}

[[noreturn]] void ExitNormally(int status) {
  std::exit(status);
}

ProcessEnding CurrentEnding = ExitNormally;

} // namespace

void WriteConsoleLine(std::string_view text) {
  WriteRaw(text);
  WriteRaw("\n");
  std::fflush(stdout);
}

void WritePrompt() {
  WriteRaw(PromptMarker);
  std::fflush(stdout);
}

std::string ReadConsoleLine() {
  std::string line;
  if (ReadConsoleWindowLine(line)) return line;
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
    line.push_back(static_cast<char>(c));
  if (!std::feof(stdin)) DropLineEndReturn(line);
  return line;
}

void WaitForEnter() {
  ReadConsoleLine();
}

void ReportProgress(Progress code, std::string_view detail) {
  std::string line(TextOf(code));
  line += detail;
  if (code == Progress::ProcessingCave) line += "...";
  if (code == Progress::GameName) line += ".";
  WriteConsoleLine(line);
}

void ReportWarning(Warning code) {
  std::string line(WarningPrefix);
  line += TextOf(code);
  WriteConsoleLine(line);
}

void ReportError(Error code) {
  // The page under way keeps the caves written before the error; no picture is
  // ever open here. It is committed before the wait, which a closed console
  // window may end.
  CommitOutput(HtmlFile);
  std::string line(ErrorPrefix);
  line += TextOf(code);
  WriteConsoleLine(line);
  WriteConsoleLine(PressEnterText);
  WaitForEnter();
  CurrentEnding(1);
  std::exit(1); // an ending that returns after all still ends the process
}

void SetProcessEnding(ProcessEnding ending) {
  CurrentEnding = ending ? ending : ExitNormally;
}
