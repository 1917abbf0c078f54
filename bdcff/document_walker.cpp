// Walking the input file's frame of tags, cave by cave.
#include "bdcff/document_walker.h"

#include "bdcff/cave_attributes.h"
#include "bdcff/game_header.h"
#include "bdcff/key_lines.h"
#include "cave/cave_builder.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"

#include <string>

std::int32_t CaveCount = 0;

namespace {

// Skips lines up to the tag. The tag test comes before the end test, so a tag
// on the file's last line, without a line feed, is still found.
void AwaitTag(const TagSpellings &tag, Error notFound) {
  for (;;) {
    const std::string line = ReadTextLine(InputFile);
    if (IsTagLine(line, tag)) return;
    if (TextLinesEnded(InputFile)) ReportError(notFound);
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
  // The HTML structure file is read and the HTML document opened here.
  while (ConvertNextCave()) {
  }
  AwaitTag(DocumentEndTag, Error::BdcffEndTagNotFound);
  CloseTextLines(InputFile);
  // The HTML document's tail is written and the document closed here.
}

bool ConvertNextCave() {
  if (!FindNextCave()) return false;
  ReportProgress(Progress::ProcessingCave, CaveCount + 1);
  ResetCaveRecord();
  ReadCaveAttributes();
  BuildCave();
  // The cave's picture is written here, before its closing tag is looked for,
  // so that a cave without one still leaves its picture behind.
  AwaitTag(CaveEndTag, Error::CaveEndTagNotFound);
  ++CaveCount;
  // The cave's HTML entry is written here, once it holds the cave's number.
  return true;
}
