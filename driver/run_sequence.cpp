// The run from start to exit: banner, dialog, the conversion of the game cave
// by cave, and the summary.
#include "driver/run_sequence.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "cave/cave_builder.h"
#include "cave/cave_grid.h"
#include "cave/functions_random_gen.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "html/html_document.h"
#include "picture/cave_picture.h"
#include "picture/graphics_file.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::array<std::string_view, 9> BannerLines = {
    "***********************************************",
    "*                                             *",
    "*                 Grottoprint                 *",
    "*                    v 1.0                    *",
    "*                                             *",
    "*                  June 2006                  *",
    "*                                             *",
    "***********************************************",
    "",
};

constexpr std::string_view CavesConverted = " caves converted. BMP pics created.";
constexpr std::string_view HtmlWritten = "HTML document written.";

} // namespace

int RunGrottoprint() {
  PrintBanner();
  RunDialog();
  ReadGraphicsFile();
  WalkDocument();
  PrintSummary();
  return 0;
}

void WalkDocument() {
  ReportProgress(Progress::ReadingInputFile);
  FindGame();
  ReadGameHeader();
  ReadHtmlStructure();
  OpenHtmlDocument();
  while (ConvertNextCave()) {
  }
  FinishDocument();
  CloseHtmlDocument();
}

bool ConvertNextCave() {
  if (!FindNextCave()) return false;
  ReportProgress(Progress::ProcessingCave, CaveCount + 1);
  ResetCaveRecord();
  ReadCaveAttributes();
  BuildCave();
  // The picture is written before the closing tag is looked for, so that a
  // cave without one still leaves its picture behind.
  WriteCavePicture();
  FinishCave();
  WriteCaveEntry(); // once the count holds the cave's own number
  return true;
}

void PrintBanner() {
  for (std::string_view line : BannerLines) WriteConsoleLine(line);
}

void PrintSummary() {
  WriteConsoleLine(SeparatorLine);
  WriteConsoleLine(std::to_string(CaveCount) + std::string(CavesConverted));
  WriteConsoleLine(HtmlWritten);
  WriteConsoleLine(PressEnterText);
  WaitForEnter();
}

void ResetProcessState() {
  CloseTextLines(InputFile);
  CloseTextLines(GraphicsFile);
  PictureExtension.clear();
  TileSet = {};
  GameRecord = {};
  CaveRecord = {};
  CaveCount = 0;
  CaveGrid = {};
  RandSeed1 = 0;
  RandSeed2 = 0;
  HtmlTemplate = {};
  if (HtmlFile != nullptr) std::fclose(HtmlFile);
  HtmlFile = nullptr;
}
