// The console and the program's three message channels.
#include "driver/reports.h"

#include <cstdio>
#include <cstdlib>

#include "bdcff/game_header.h"
#include "bdcff/line_tokens.h"

namespace {

struct CodedText {
  int code;
  std::string_view text;
};

constexpr CodedText ProgressTexts[] = {
    {0, "Reading graphics file..."},        {1, "Processing cave "},
    {10, "Reading input file..."},          {13, "Name of BD game: "},
    {14, "Reading HTML structure file..."},
};

constexpr CodedText WarningTexts[] = {
    {0, "Unknown color found! Gray2 inserted."},
    {1, "Max. cave width of 40 exceeded!"},
    {2, "Max. cave height of 22 exceeded!"},
    {3, "Unknown item in map! Empty Space inserted."},
    {4, "Unknown item in objects! Empty Space inserted."},
    {5, "Unknown command string in HTML structure file!"},
};

constexpr CodedText ErrorTexts[] = {
    {0, "Item not found in graphics file!"},
    {1, "Dimensions of items must be 16x16!"},
    {2, "Colors not found!"},
    {3, "Name of BD game not found!"},
    {4, "No caves found!"},
    {5, "Input file not found!"},
    {6, "Graphics file not found!"},
    {7, "[BDCFF] tag not found!"},
    {8, "[/BDCFF] end-tag not found!"},
    {9, "[game] tag not found!"},
    {10, "[/game] end-tag not found!"},
    {11, "Creation of BMP pic failed!"},
    {12, "[/cave] end-tag not found!"},
    {14, "[/map] end-tag not found!"},
    {15, "Game properties MUST end with white line!"},
    {16, "Unexpected end of file!"},
    {18, "[/objects] end-tag not found!"},
    {19, "Rectangle: must start with upper left corner!"},
    {20, "FilRect: must start with upper left corner!"},
    {21, "Line: impossible line definition!"},
    {22, "Unexpected end of line!"},
    {23, "HTML structure file not found!"},
    {24, "Creation of HTML file failed!"},
    {25, "#Caves-begin# not found in HTML structure file!"},
    {26, "#Caves-end# not found in HTML structure file!"},
    {27, "Unexpected input from keyboard!"},
    {28, "#HTML-begin# not found in HTML structure file!"},
    {29, "#HTML-end# not found in HTML structure file!"},
};

constexpr std::string_view WarningPrefix = "Warning: ";
constexpr std::string_view ErrorPrefix = "Error: ";
constexpr std::string_view PromptMarker = ">> ";

template <std::size_t Count>
constexpr std::string_view TextFor(const CodedText (&table)[Count], int code) {
  for (const CodedText &entry : table)
    if (entry.code == code) return entry.text;
  return {};
}

void WriteRaw(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
}

[[noreturn]] void ExitProcess(int status) {
  std::exit(status);
}

ProcessEnding CurrentEnding = ExitProcess;

} // namespace

void WriteConsoleLine(std::string_view text) {
  WriteRaw(text);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void WritePrompt() {
  WriteRaw(PromptMarker);
  std::fflush(stdout);
}

std::string ReadConsoleLine() {
  std::string line;
  for (int c = std::getchar(); c != EOF && c != '\n'; c = std::getchar())
    line.push_back(static_cast<char>(c));
  // A carriage return right before the line feed belongs to the line end.
  if (!line.empty() && line.back() == '\r' && !std::feof(stdin)) line.pop_back();
  return line;
}

void WaitForEnter() {
  ReadConsoleLine();
}

void ReportProgress(Progress code, int number) {
  std::string line(TextFor(ProgressTexts, static_cast<int>(code)));
  if (code == Progress::ProcessingCave) line += TwoDigitText(number) + "...";
  if (code == Progress::GameName) line += GameRecord.Name + ".";
  WriteConsoleLine(line);
}

void ReportWarning(Warning code) {
  std::string line(WarningPrefix);
  line += TextFor(WarningTexts, static_cast<int>(code));
  WriteConsoleLine(line);
}

void ReportError(Error code) {
  std::string line(ErrorPrefix);
  line += TextFor(ErrorTexts, static_cast<int>(code));
  WriteConsoleLine(line);
  WriteConsoleLine(PressEnterText);
  WaitForEnter();
  CurrentEnding(1);
  std::exit(1); // an ending that returns after all still ends the process
}

void SetProcessEnding(ProcessEnding ending) {
  CurrentEnding = ending ? ending : ExitProcess;
}
