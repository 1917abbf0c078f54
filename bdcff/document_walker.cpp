// Walking the input file's frame of tags, cave by cave.
#include "bdcff/document_walker.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/game_header.h"
#include "bdcff/key_lines.h"
#include "cave/cave_builder.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"
#include "html/html_document.h"
#include "picture/cave_picture.h"

#include <string>

std::int32_t CaveCount = 0;

namespace {

// Skips lines up to the tag; ends the run when the input ends first.
void AwaitTag(const TagSpellings &tag, Error notFound) {
  while (LineBeforeTag(InputFile, tag, notFound)) {
  }
}

// Skips lines up to the next cave tag; false at the game's closing tag. Here
// the end test comes before the cave test: a cave tag on the file's last line
// opens no cave, since nothing of that cave could follow.
bool FindNextCave() {
  for (;;) {
    const std::string line = ReadTextLine(InputFile);
    if (IsTagLine(line, GameEndTag)) {
      if (CaveCount != 0) return false;
      ReportError(Error::NoCavesFound);
    }
    if (TextLinesEnded(InputFile)) ReportError(Error::GameEndTagNotFound);
    if (IsTagLine(line, CaveTag)) return true;
  }
}

} // namespace

void WalkDocument() {
  ReportProgress(Progress::ReadingInputFile);
  AwaitTag(DocumentTag, Error::BdcffTagNotFound);
  AwaitTag(GameTag, Error::GameTagNotFound);
  ReadGameHeader();
  ReadHtmlStructure();
  OpenHtmlDocument();
  while (ConvertNextCave()) {
  }
  AwaitTag(DocumentEndTag, Error::BdcffEndTagNotFound);
  CloseTextLines(InputFile);
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
  AwaitTag(CaveEndTag, Error::CaveEndTagNotFound);
  ++CaveCount;
  WriteCaveEntry(); // once the count holds the cave's own number
  return true;
}
