// The run from start to exit: banner, dialog, the conversion of the game cave
// by cave, and the summary.
#include "driver/run_sequence.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/document_walker.h"
#include "bdcff/game_header.h"
#include "bdcff/line_tokens.h"
#include "cave/cave_builder.h"
#include "cave/cave_grid.h"
#include "cave/functions_random_gen.h"
#include "driver/build_facts.h"
#include "driver/console_dialog.h"
#include "driver/output_files.h"
#include "driver/output_names.h"
#include "driver/reports.h"
#include "html/html_document.h"
#include "picture/cave_picture.h"
#include "picture/graphics_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view BannerBorder = "***********************************************";
constexpr std::string_view BannerTitle = "Grottoprint";
constexpr std::string_view BannerDate = "June 2006";

// A banner line between the border's asterisks: the text centred in the 45
// columns (an even length leaves the odd blank on the right).
std::string FramedLine(std::string_view text) {
  std::string line(BannerBorder.size(), ' ');
  line.front() = '*';
  line.back() = '*';
  text = text.substr(0, line.size() - 2);
  const std::size_t left = (line.size() - 2 - text.size()) / 2;
  std::copy(text.begin(), text.end(), line.begin() + 1 + static_cast<std::ptrdiff_t>(left));
  return line;
}

template <typename... Records> void Restart(Records &...records) {
  ((records = Records{}), ...);
}

// The cave number of a picture of this game that the folder's entry `name`
// may be, by the digits before its four-character extension; 0 for none.
std::int32_t PictureNumberIn(std::string_view name) {
  if (name.size() <= PictureSuffix.size()) return 0;
  name.remove_suffix(PictureSuffix.size());
  const std::string_view digits = name.substr(name.find_last_not_of("0123456789") + 1);
  if (digits.empty() || digits.size() > 9) return 0; // no cave number has ten digits
  return std::stoi(std::string(digits));
}

// A run never writes over or removes a file it reads. The page, a picture or
// an unfinished file left behind that would replace or take away the game
// file, the graphics file or the template stops it before anything is written.
// The files are compared, not the names: a picture or a leftover can only
// reach a file that stands in the folder, so those checked are the ones the
// folder's names hold (the run's own unfinished files are created new).
void SpareInputs() {
  if (!NamesFileHere(GameRecord.Name)) return; // the page's creation fails next
  const std::array<std::string, 3> inputs = {InputFileName, GraphicsFileName,
                                             std::string(StructureFileName)};
  std::vector<std::string> outputs = {HtmlDocumentName()};
  for (const std::string &name : NamesInFolder())
    if (IsUnfinishedName(name))
      outputs.push_back(name);
    else if (const std::int32_t number = PictureNumberIn(name); number > 0)
      outputs.push_back(PictureFileNameOf(number));
  for (const std::string &output : outputs)
    for (const std::string &input : inputs)
      if (SameFile(output, input)) ReportError(Error::OutputWouldReplaceInput);
}

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
  SpareInputs();
  RemoveLeftovers();
  OpenHtmlDocument();
  while (ConvertNextCave()) {
  }
  FinishDocument();
  CloseHtmlDocument();
}

bool ConvertNextCave() {
  if (!FindNextCave()) return false;
  ReportProgress(Progress::ProcessingCave, TwoDigitText(CaveCount + 1));
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
  WriteConsoleLine(BannerBorder);
  WriteConsoleLine(FramedLine(""));
  WriteConsoleLine(FramedLine(BannerTitle));
  WriteConsoleLine(FramedLine("v " + std::string(ProgramVersion)));
  WriteConsoleLine(FramedLine(""));
  WriteConsoleLine(FramedLine(BannerDate));
  WriteConsoleLine(FramedLine(""));
  WriteConsoleLine(BannerBorder);
  WriteConsoleLine("");
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
  DiscardOutput(HtmlFile);
  // Every record starts as the value its type gives it, which {} gives again.
  Restart(InputFileName, GraphicsFileName, PictureExtension, TileSet, GameRecord, CaveRecord,
          CaveCount, CaveGrid, RandSeed1, RandSeed2, HtmlTemplate, HtmlFile);
}
