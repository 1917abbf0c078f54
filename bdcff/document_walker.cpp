// Walking the input file's frame of tags.
#include "bdcff/document_walker.h"

#include "bdcff/key_lines.h"
#include "driver/console_dialog.h"
#include "driver/reports.h"

#include <string>

std::int32_t CaveCount{};

namespace {

// Skips lines up to the tag; ends the run when the input ends first.
void AwaitTag(const TagSpellings &tag, Error notFound) {
  while (LineBeforeTag(InputFile, tag, notFound)) {
  }
}

} // namespace

void FindGame() {
  AwaitTag(DocumentTag, Error::BdcffTagNotFound);
  AwaitTag(GameTag, Error::GameTagNotFound);
}

// Here the end test comes before the cave test: a cave tag on the file's last
// line opens no cave, since nothing of that cave could follow.
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

void FinishCave() {
  AwaitTag(CaveEndTag, Error::CaveEndTagNotFound);
  ++CaveCount;
}

void FinishDocument() {
  AwaitTag(DocumentEndTag, Error::BdcffEndTagNotFound);
  CloseTextLines(InputFile);
}
